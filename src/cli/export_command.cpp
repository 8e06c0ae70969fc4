// transvelor export: rebuilds Velorim's work tables from an exchange file.
#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/run_status.h"
#include "cli/terminal_ui.h"
#include "export/export_run.h"
#include "util/cp1252.h"
#include "util/env.h"

namespace tv::cli {

void AddExportCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "export",
      "Rebuild Velorim's work tables from an Ortelia exchange file. Exit status: 0 finished, "
      "1 an error ended the run, 3 no such file, 4 refused (level table missing, no frame "
      "chosen); the work folder is left as it was unless the run finished.");
  struct Options {
    std::string file;
    std::string frames;
    std::string work_folder;
    std::string program_folder;
  };
  auto options = std::make_shared<Options>();
  command->add_option("FILE", options->file, "The exchange file (.xml)")->required();
  command->add_option("--frames", options->frames,
                      "The time frames to use when the file holds several: one or two codes, "
                      "separated by a comma");
  command->add_option("--work-folder", options->work_folder,
                      "Velorim's work folder (default: " + env::DefaultWorkFolder().string() + ")");
  command->add_option("--program-folder", options->program_folder,
                      "The folder holding NIVELEX.DBF (default: the program's folder)");
  command->callback([options, command] {
    RunFolders folders;
    folders.work_folder = WorkFolderOrDefault(options->work_folder);
    folders.program_folder = options->program_folder.empty()
                                 ? env::ProgramFolder()
                                 : env::PathFromUtf8(options->program_folder);
    std::optional<std::vector<std::string>> frames;
    if (command->count("--frames") > 0) frames = SplitCodes(options->frames);
    TerminalUi ui(env::PathFromUtf8(options->file), frames, std::cin, std::cout, std::cerr,
                  StdinIsTerminal());
    std::filesystem::path selected;
    const RunReport report = RunExport(folders, ui, selected);
    ExitUnlessFinished(report.outcome);
    std::cout << "Tablas escritas en " << Cp1252ToUtf8(env::PathText(folders.work_folder)) << ":\n";
    for (const auto& [table, rows] : report.counts) {
      std::string name = table;
      name.resize(std::max<std::size_t>(name.size(), 12), ' ');
      std::cout << "  " << name << rows << (rows == 1 ? " fila" : " filas") << "\n";
    }
  });
}

}  // namespace tv::cli
