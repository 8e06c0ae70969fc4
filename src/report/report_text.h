// A run's report as people read it: what run on which files, its result and messages, the
// summary, the counts, and every entry grouped by kind, warnings first. UTF-8.
#pragma once

#include <string>

#include "report/report_source.h"
#include "util/run_outcome.h"

namespace tv {

std::string ReportText(const ReportSource& source, const RunReport& report);

// The text of one entry, without its kind: "PROFT, n.º 1, clave '11' (Gómez Romero, Pablo):
// el código 'PGR' era de ...". UTF-8.
std::string EntryText(const ReportEntry& entry);

// The result of a run in the user's words ("terminada", "rechazada"...), code page 1252.
std::string OutcomeText(RunOutcome outcome);

}  // namespace tv
