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
      std::string("Rebuild Velorim's work tables from an Ortelia exchange file; the work folder "
                  "is left as it was unless the run finishes. Prints what was written and a "
                  "summary of the run's report (warnings on standard error). ") +
          kExitStatusHelp);
  struct Options {
    std::string file;
    std::string frames;
    std::string work_folder;
    std::string program_folder;
    std::string report;
    bool dry_run = false;
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
  command->add_option("--report", options->report,
                      "Write the run's full report to this file: JSON when its name ends in "
                      ".json, plain text otherwise");
  command->add_flag("--dry-run", options->dry_run,
                    "Do the whole run, the comparison with the tables it would replace "
                    "included, without changing the work folder");
  command->callback([options, command] {
    RunFolders folders;
    folders.work_folder = WorkFolderOrDefault(options->work_folder);
    folders.program_folder = options->program_folder.empty()
                                 ? env::ProgramFolder()
                                 : env::PathFromUtf8(options->program_folder);
    std::optional<std::vector<std::string>> frames;
    if (command->count("--frames") > 0) frames = SplitCodes(options->frames);
    const std::filesystem::path file = env::PathFromUtf8(options->file);
    TerminalUi ui(file, frames, std::cin, std::cout, std::cerr, StdinIsTerminal());
    std::filesystem::path selected;
    const RunReport report = options->dry_run ? RunExportDryRun(folders, ui, selected)
                                              : RunExport(folders, ui, selected);
    FinishRun(options->dry_run ? RunKind::kExportDryRun : RunKind::kExport, folders, file,
              options->report, report, ui, [&] {
                std::cout << (options->dry_run ? "Tablas que se escribir\xC3\xAD"
                                                 "an en "
                                               : "Tablas escritas en ")
                          << Cp1252ToUtf8(env::PathText(folders.work_folder)) << ":\n";
                for (const auto& [table, rows] : report.counts) {
                  std::string name = table;
                  name.resize(std::max<std::size_t>(name.size(), 12), ' ');
                  std::cout << "  " << name << rows << (rows == 1 ? " fila" : " filas") << "\n";
                }
              });
  });
}

}  // namespace tv::cli
