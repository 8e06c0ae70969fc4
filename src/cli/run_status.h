// What the run commands share: the work folder option, what they print once a run has
// returned, its report file, and their exit statuses:
//   0 the run finished (and its report, if asked for, was written)
//   1 an error ended the run
//   2 the command line is wrong
//   3 no such exchange file
//   4 the run was refused (level table or period table missing, no frame chosen)
//   5 the run finished but its report could not be written
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "cli/terminal_ui.h"
#include "report/report_source.h"
#include "util/run_outcome.h"

namespace tv::cli {

inline constexpr int kStatusError = 1;
inline constexpr int kStatusUsage = 2;
inline constexpr int kStatusNoFile = 3;
inline constexpr int kStatusRefused = 4;
inline constexpr int kStatusReportFailed = 5;

// The exit statuses, for --help.
extern const char* const kExitStatusHelp;

// The folder given with --work-folder, or the platform's work folder when none was.
std::filesystem::path WorkFolderOrDefault(const std::string& option);

// Once a run has returned: prints its messages (standard output for a finished run,
// standard error otherwise); for a finished run, what `print_result` prints and the
// summary of its report (a line per kind of entry: warnings first, on standard error;
// the rest on standard output); writes the report to `report_file` (UTF-8, from
// --report) when one is given, whatever the outcome; and ends the command with its exit
// status unless it is 0.
void FinishRun(RunKind run, const RunFolders& folders, const std::filesystem::path& exchange_file,
               const std::string& report_file, const RunReport& report, TerminalUi& ui,
               const std::function<void()>& print_result);

}  // namespace tv::cli
