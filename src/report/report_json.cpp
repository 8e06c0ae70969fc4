#include "report/report_json.h"

#include "report/report_summary.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/json_text.h"

namespace tv {

namespace {

// A code page 1252 text as a JSON string.
std::string Json(const std::string& cp1252) { return JsonString(Cp1252ToUtf8(cp1252)); }

std::string PathJson(const std::filesystem::path& path) { return Json(env::PathText(path)); }

const char* RunId(RunKind run) {
  switch (run) {
    case RunKind::kExport:
      return "export";
    case RunKind::kExportDryRun:
      return "export-dry-run";
    case RunKind::kImport:
      return "import";
  }
  return "";
}

const char* OutcomeId(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kFinished:
      return "finished";
    case RunOutcome::kNoFile:
      return "no_file";
    case RunOutcome::kRefused:
      return "refused";
    case RunOutcome::kFailed:
      return "failed";
  }
  return "";
}

const char* SeverityId(Severity severity) {
  return severity == Severity::kWarning ? "warning" : "info";
}

}  // namespace

std::string ReportJson(const ReportSource& source, const RunReport& report) {
  std::string out = "{\n  \"format\": \"transvelor-report\",\n  \"version\": 1,\n";
  out += "  \"run\": \"" + std::string(RunId(source.run)) + "\",\n";
  out += "  \"exchange_file\": " + PathJson(source.exchange_file) + ",\n";
  out += "  \"work_folder\": " + PathJson(source.work_folder) + ",\n";
  if (!report.output_file.empty()) {
    out += "  \"output_file\": " + PathJson(report.output_file) + ",\n";
  }
  out += "  \"date\": " + Json(source.date_time) + ",\n";
  out += "  \"outcome\": \"" + std::string(OutcomeId(report.outcome)) + "\",\n";
  out += "  \"messages\": [";
  for (std::size_t i = 0; i < source.messages.size(); ++i) {
    out += (i ? ", " : "") + Json(source.messages[i]);
  }
  out += "],\n  \"summary\": [";
  const std::vector<SummaryLine> summary = Summarize(report.entries);
  for (std::size_t i = 0; i < summary.size(); ++i) {
    out += std::string(i ? "," : "") + "\n    {\"kind\": \"" + KindId(summary[i].kind) +
           "\", \"severity\": \"" + SeverityId(SeverityOf(summary[i].kind)) +
           "\", \"count\": " + std::to_string(summary[i].count) +
           ", \"label\": " + Json(KindLabel(summary[i].kind)) + "}";
  }
  out += summary.empty() ? "],\n" : "\n  ],\n";
  out += "  \"counts\": [";
  for (std::size_t i = 0; i < report.counts.size(); ++i) {
    out += std::string(i ? "," : "") + "\n    {\"name\": " + Json(report.counts[i].first) +
           ", \"count\": " + std::to_string(report.counts[i].second) + "}";
  }
  out += report.counts.empty() ? "],\n" : "\n  ],\n";
  out += "  \"entries\": [";
  for (std::size_t i = 0; i < report.entries.size(); ++i) {
    const ReportEntry& e = report.entries[i];
    out += std::string(i ? "," : "") + "\n    {\"kind\": \"" + KindId(e.kind) +
           "\", \"severity\": \"" + SeverityId(e.severity()) + "\", \"block\": " + Json(e.block) +
           ", \"record\": " + std::to_string(e.record) + ", \"key\": " + Json(e.key) +
           ", \"name\": " + Json(e.name) + ", \"field\": " + Json(e.field) +
           ", \"value\": " + Json(e.value) + ", \"reason\": " + Json(e.reason) + "}";
  }
  out += report.entries.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace tv
