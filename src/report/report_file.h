// Writing a run's report to a file: JSON when the file's name ends in ".json" (in any
// letter case), plain text otherwise, UTF-8 with a byte order mark so that Notepad shows
// the accents (JSON without one, as its readers expect). The file is written beside and
// renamed over, so an earlier report is replaced whole or not at all.
#pragma once

#include <filesystem>

#include "report/report_source.h"
#include "util/run_outcome.h"

namespace tv {

// Throws RunError naming the file when it cannot be written; nothing else changes then.
void WriteReportFile(const std::filesystem::path& file, const ReportSource& source,
                     const RunReport& report);

}  // namespace tv
