// A run's report for scripts, one JSON object (UTF-8):
//   {"format": "transvelor-report", "version": 1,
//    "run": "export" | "export-dry-run" | "import",
//    "exchange_file": "...", "work_folder": "...", "output_file": "..." (import only),
//    "date": "...", "outcome": "finished" | "no_file" | "refused" | "failed",
//    "messages": ["Proceso finalizado"],
//    "summary": [{"kind": "cut_text", "severity": "warning", "count": 2, "label": "..."}],
//    "counts": [{"name": "ASIGNOMT", "count": 65}],
//    "entries": [{"kind": "...", "severity": "warning" | "info", "block": "...",
//                 "record": 3 (0: none), "key": "...", "name": "...", "field": "...",
//                 "value": "...", "reason": "..."}]}
// "summary" lists the warnings first; "entries" are in the order the run decided them.
#pragma once

#include <string>

#include "report/report_source.h"
#include "util/run_outcome.h"

namespace tv {

std::string ReportJson(const ReportSource& source, const RunReport& report);

}  // namespace tv
