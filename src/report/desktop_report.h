// The report the desktop programs (the Qt windows and the Windows program) leave after a
// finished run, beside the exchange file the user chose: "InformeExportacion" or
// "InformeImportacion", then the exchange file's name without its extension, then ".txt"
// (centro.xml gives InformeExportacioncentro.txt), plain text in UTF-8 with a byte order
// mark. Toolkit-free: the windows call WriteDesktopReport once the run has returned.
#pragma once

#include <filesystem>

#include "report/report_source.h"
#include "util/run_outcome.h"
#include "util/user_interface.h"

namespace tv {

// Where the report of a run on `exchange_file` goes.
std::filesystem::path DesktopReportPath(RunKind run, const std::filesystem::path& exchange_file);

// For a finished run, writes its report to DesktopReportPath and returns true. When it
// cannot be written, shows through `ui` an error naming the path and returns false; the
// run's result stays as it was. Runs that did not finish leave no report (their message
// box said what happened) and return true.
bool WriteDesktopReport(RunKind run, const RunFolders& folders,
                        const std::filesystem::path& exchange_file, const RunReport& report,
                        UserInterface& ui);

}  // namespace tv
