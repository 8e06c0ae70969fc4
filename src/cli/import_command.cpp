// transvelor import FILE.xml [--work-folder DIR]: the import run on the command line.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "import/import_run.h"
#include "util/cp1252.h"
#include "util/env.h"

namespace tv::cli {
namespace {

// The run's messages on the terminal; the file is the one given on the command line.
class ImportTerminal : public UserInterface {
 public:
  explicit ImportTerminal(std::filesystem::path file) : file_(std::move(file)) {}
  std::optional<std::filesystem::path> ChooseExchangeFile(const std::filesystem::path&) override {
    return file_;
  }
  void ShowMessage(const std::string& text) override { std::cout << Cp1252ToUtf8(text) << "\n"; }
  void ShowError(const std::string& text) override { std::cerr << Cp1252ToUtf8(text) << "\n"; }
  FrameChoice ChooseFrames(const std::filesystem::path&) override { return {}; }
  void SetBusy(bool) override {}

 private:
  std::filesystem::path file_;
};

}  // namespace

void AddImportCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "import",
      "Write ResultadoVelor<FILE> beside FILE from Velorim's solution (SOLUC) and the work "
      "tables of the last export. Exit status: 0 finished, 1 an error ended the run (nothing "
      "written), 3 no such file, 4 refused (PERIODOS.DBF missing).");
  static std::string file;
  static std::string work_folder;
  command->add_option("FILE", file, "The exchange file the school's data came from")->required();
  command->add_option("--work-folder", work_folder,
                      "Velorim's work folder (default: " + env::DefaultWorkFolder().string() + ")");
  command->callback([] {
    RunFolders folders;
    folders.work_folder =
        work_folder.empty() ? env::DefaultWorkFolder() : std::filesystem::path(work_folder);
    folders.program_folder = env::ProgramFolder();
    ImportTerminal terminal{std::filesystem::path(file)};
    std::filesystem::path selected;
    const RunReport report = RunImport(folders, terminal, selected);
    switch (report.outcome) {
      case RunOutcome::kFinished:
        break;
      case RunOutcome::kNoFile:
        throw CLI::RuntimeError(3);
      case RunOutcome::kRefused:
        throw CLI::RuntimeError(4);
      case RunOutcome::kFailed:
        throw CLI::RuntimeError(1);
    }
    std::cout << Cp1252ToUtf8(env::PathText(report.output_file)) << "\n";
    for (const auto& [label, count] : report.counts) {
      std::cout << "  " << Cp1252ToUtf8(label) << ": " << count << "\n";
    }
  });
}

}  // namespace tv::cli
