#include "cli/run_status.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "report/report_file.h"
#include "report/report_summary.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::cli {

const char* const kExitStatusHelp =
    "Exit status: 0 finished, 1 an error ended the run, 2 wrong command line, 3 no such file, "
    "4 refused, 5 finished but the report could not be written.";

std::filesystem::path WorkFolderOrDefault(const std::string& option) {
  return option.empty() ? env::DefaultWorkFolder() : env::PathFromUtf8(option);
}

namespace {

int StatusOf(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kFinished:
      return 0;
    case RunOutcome::kNoFile:
      return kStatusNoFile;
    case RunOutcome::kRefused:
      return kStatusRefused;
    case RunOutcome::kFailed:
      break;
  }
  return kStatusError;
}

void PrintSummary(const RunReport& report) {
  for (const SummaryLine& line : Summarize(report.entries)) {
    const std::string text = std::to_string(line.count) + " " + Cp1252ToUtf8(KindLabel(line.kind));
    if (SeverityOf(line.kind) == Severity::kWarning) {
      std::cerr << "aviso: " << text << "\n";
    } else {
      std::cout << "  " << text << "\n";
    }
  }
}

}  // namespace

void FinishRun(RunKind run, const RunFolders& folders, const std::filesystem::path& exchange_file,
               const std::string& report_file, const RunReport& report, TerminalUi& ui,
               const std::function<void()>& print_result) {
  const bool finished = report.outcome == RunOutcome::kFinished;
  ui.PrintMessages(finished);
  if (finished) {
    print_result();
    std::cout.flush();
    PrintSummary(report);
  }
  int status = StatusOf(report.outcome);
  if (!report_file.empty()) {
    ReportSource source;
    source.run = run;
    source.exchange_file = exchange_file;
    source.work_folder = folders.work_folder;
    source.date_time = env::LocalDateTimeText();
    source.messages = ui.Shown();
    const std::filesystem::path file = env::PathFromUtf8(report_file);
    try {
      WriteReportFile(file, source, report);
      if (finished) std::cout << "Informe: " << Cp1252ToUtf8(env::PathText(file)) << "\n";
    } catch (const RunError& error) {
      std::cerr << "transvelor: " << Cp1252ToUtf8(error.message()) << "\n";
      if (finished) status = kStatusReportFailed;
    }
  }
  std::cout.flush();
  if (status != 0) throw CLI::RuntimeError(status);
}

}  // namespace tv::cli
