// transvelor import FILE.xml [--work-folder DIR]: the import run on the command line.
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/run_status.h"
#include "cli/terminal_ui.h"
#include "import/import_run.h"
#include "util/cp1252.h"
#include "util/env.h"

namespace tv::cli {

void AddImportCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "import",
      "Write ResultadoVelor<FILE> beside FILE from Velorim's solution (SOLUC) and the work "
      "tables of the last export. Exit status: 0 finished, 1 an error ended the run (nothing "
      "written), 3 no such file, 4 refused (PERIODOS.DBF missing).");
  struct Options {
    std::string file;
    std::string work_folder;
  };
  auto options = std::make_shared<Options>();
  command->add_option("FILE", options->file, "The exchange file the school's data came from")
      ->required();
  command->add_option("--work-folder", options->work_folder,
                      "Velorim's work folder (default: " + env::DefaultWorkFolder().string() + ")");
  command->callback([options] {
    RunFolders folders;
    folders.work_folder = WorkFolderOrDefault(options->work_folder);
    folders.program_folder = env::ProgramFolder();
    TerminalUi terminal(env::PathFromUtf8(options->file), std::nullopt, std::cin, std::cout,
                        std::cerr, false);
    std::filesystem::path selected;
    const RunReport report = RunImport(folders, terminal, selected);
    ExitUnlessFinished(report.outcome);
    std::cout << Cp1252ToUtf8(env::PathText(report.output_file)) << "\n";
    for (const auto& [label, count] : report.counts) {
      std::cout << "  " << Cp1252ToUtf8(label) << ": " << count << "\n";
    }
  });
}

}  // namespace tv::cli
