#include "report/report_summary.h"

#include <map>

namespace tv {

std::vector<SummaryLine> Summarize(const std::vector<ReportEntry>& entries) {
  // Ordered by severity (warnings first), then by kind.
  std::map<std::pair<Severity, EntryKind>, std::size_t> counts;
  for (const ReportEntry& entry : entries) ++counts[{entry.severity(), entry.kind}];
  std::vector<SummaryLine> lines;
  for (const auto& [kind, count] : counts) lines.push_back({kind.second, count});
  return lines;
}

}  // namespace tv
