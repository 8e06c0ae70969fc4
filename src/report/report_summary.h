// The short form of a report: how many entries of each kind, warnings first.
#pragma once

#include <cstddef>
#include <vector>

#include "util/report_entry.h"

namespace tv {

struct SummaryLine {
  EntryKind kind;
  std::size_t count = 0;
};

// One line per kind that has entries: the warnings, then the rest, each in the order of
// EntryKind.
std::vector<SummaryLine> Summarize(const std::vector<ReportEntry>& entries);

}  // namespace tv
