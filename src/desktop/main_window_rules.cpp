#include "desktop/main_window_rules.h"

#include <exception>

#include "desktop/result_flag.h"
#include "util/run_error.h"

namespace tv::desktop {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

RunEnding EndingOf(RunOutcome outcome, bool launched) {
  RunEnding ending;
  switch (outcome) {
    case RunOutcome::kFinished:
      ending.flag = 1;
      ending.disable_directions = true;
      ending.close_window = launched;
      break;
    case RunOutcome::kNoFile:
      if (launched) {
        ending.flag = -1;
        ending.close_window = true;
      }
      break;
    case RunOutcome::kRefused:
    case RunOutcome::kFailed:
      break;
  }
  return ending;
}

MainWindowRules::MainWindowRules(MainWindowSetup setup, MainWindowView& view, UserInterface& ui)
    : setup_(std::move(setup)), view_(view), ui_(ui) {}

void MainWindowRules::FormCreate() {
  transform_result_ = 0;
  if (setup_.parameters.size() != 2) return;
  int handle = 0;
  try {
    // The handle comes without prefix; Velorim writes it in hexadecimal.
    handle = ParseInteger("$" + setup_.parameters[1]);
  } catch (const RunError& error) {
    // The window keeps its border and its place; RunMode stays 0.
    ui_.ShowError(error.message());
    return;
  }
  view_.EmbedInHost(static_cast<std::uint32_t>(handle));
  run_mode_ = 2;
}

void MainWindowRules::FormShow() {
  if (setup_.parameters.size() != 2) return;
  const std::string direction = Lower(setup_.parameters[0]);
  if (direction == "importar") BImportarClick();
  if (direction == "exportar") BExportarClick();
}

bool MainWindowRules::FormClose() {
  if (run_mode_ != 2) return true;
  try {
    WriteResultFlag(setup_.folders.program_folder, transform_result_);
  } catch (const RunError& error) {
    ui_.ShowError(error.message());
    return false;
  }
  return true;
}

void MainWindowRules::BExportarClick() { StartRun(setup_.export_run); }

void MainWindowRules::BImportarClick() { StartRun(setup_.import_run); }

void MainWindowRules::StartRun(const RunFunction& run) {
  RunReport report;
  try {
    report = run(setup_.folders, ui_, selected_file_);
  } catch (const std::exception& error) {
    // The runs report their own errors; anything else still ends only this run.
    ui_.SetBusy(false);
    ui_.ShowError(error.what());
    return;
  }
  ui_.SetBusy(false);
  const RunEnding ending = EndingOf(report.outcome, run_mode_ == 2);
  if (ending.flag) transform_result_ = *ending.flag;
  if (ending.disable_directions) view_.EnableDirections(false);
  if (ending.close_window) view_.CloseWindow();
}

}  // namespace tv::desktop
