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
      std::string("Write ResultadoVelor<FILE> beside FILE from Velorim's solution (SOLUC) and "
                  "the work tables of the last export; a failed run writes nothing. Prints the "
                  "file written, its counts and a summary of the run's report (warnings on "
                  "standard error). ") +
          kExitStatusHelp);
  struct Options {
    std::string file;
    std::string work_folder;
    std::string report;
  };
  auto options = std::make_shared<Options>();
  command->add_option("FILE", options->file, "The exchange file the school's data came from")
      ->required();
  command->add_option("--work-folder", options->work_folder,
                      "Velorim's work folder (default: " + env::DefaultWorkFolder().string() + ")");
  command->add_option("--report", options->report,
                      "Write the run's full report to this file: JSON when its name ends in "
                      ".json, plain text otherwise");
  command->callback([options] {
    RunFolders folders;
    folders.work_folder = WorkFolderOrDefault(options->work_folder);
    folders.program_folder = env::ProgramFolder();
    const std::filesystem::path file = env::PathFromUtf8(options->file);
    TerminalUi terminal(file, std::nullopt, std::cin, std::cout, std::cerr, false);
    std::filesystem::path selected;
    const RunReport report = RunImport(folders, terminal, selected);
    FinishRun(RunKind::kImport, folders, file, options->report, report, terminal, [&] {
      std::cout << Cp1252ToUtf8(env::PathText(report.output_file)) << "\n";
      for (const auto& [label, count] : report.counts) {
        std::cout << "  " << Cp1252ToUtf8(label) << ": " << count << "\n";
      }
    });
  });
}

}  // namespace tv::cli
