#include "report/report_text.h"

#include "report/report_summary.h"
#include "util/cp1252.h"
#include "util/env.h"

namespace tv {

namespace {

std::string Utf8(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

std::string RunTitle(RunKind run) {
  switch (run) {
    case RunKind::kExport:
      return "informe de exportaci\xF3n";
    case RunKind::kExportDryRun:
      return "informe de exportaci\xF3n de prueba (la carpeta de trabajo no ha cambiado)";
    case RunKind::kImport:
      return "informe de importaci\xF3n";
  }
  return {};
}

// A count right-aligned in a column of `width`.
std::string Right(std::size_t number, std::size_t width) {
  std::string text = std::to_string(number);
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

}  // namespace

std::string OutcomeText(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kFinished:
      return "terminada";
    case RunOutcome::kNoFile:
      return "no existe el archivo";
    case RunOutcome::kRefused:
      return "rechazada";
    case RunOutcome::kFailed:
      return "terminada con error";
  }
  return {};
}

std::string EntryText(const ReportEntry& entry) {
  std::string text = entry.block;
  if (entry.record != 0) text += ", n.\xBA " + std::to_string(entry.record);
  if (!entry.key.empty()) text += ", clave '" + entry.key + "'";
  if (!entry.name.empty() && entry.name != entry.key) text += " (" + entry.name + ")";
  text += text.empty() ? entry.reason : ": " + entry.reason;
  return Utf8(text);
}

std::string ReportText(const ReportSource& source, const RunReport& report) {
  std::string out = Utf8("TransVelorOrtelia: " + RunTitle(source.run)) + "\n";
  out += Utf8("Archivo de intercambio: " + env::PathText(source.exchange_file)) + "\n";
  out += Utf8("Carpeta de trabajo: " + env::PathText(source.work_folder)) + "\n";
  if (!report.output_file.empty()) {
    out += Utf8("Archivo escrito: " + env::PathText(report.output_file)) + "\n";
  }
  out += Utf8("Fecha: " + source.date_time) + "\n";
  out += Utf8("Resultado: " + OutcomeText(report.outcome)) + "\n";
  for (const std::string& message : source.messages) out += "  " + Utf8(message) + "\n";

  const std::vector<SummaryLine> summary = Summarize(report.entries);
  out += "\nResumen:\n";
  if (summary.empty()) out += "  nada que contar\n";
  for (const SummaryLine& line : summary) {
    out += std::string(SeverityOf(line.kind) == Severity::kWarning ? "  AVISO " : "        ") +
           Right(line.count, 6) + " " + Utf8(KindLabel(line.kind)) + "\n";
  }
  if (!report.counts.empty()) {
    out += "\nRecuento:\n";
    for (const auto& [label, count] : report.counts) {
      std::string name = Utf8(label);
      out += "  " + name + std::string(name.size() < 40 ? 40 - name.size() : 1, ' ') +
             Right(count, 8) + "\n";
    }
  }
  for (const SummaryLine& line : summary) {
    out += "\n" +
           Utf8((SeverityOf(line.kind) == Severity::kWarning ? std::string("AVISO: ") : "") +
                Capitalized(KindLabel(line.kind))) +
           " (" + std::to_string(line.count) + "):\n";
    for (const ReportEntry& entry : report.entries) {
      if (entry.kind == line.kind) out += "  " + EntryText(entry) + "\n";
    }
  }
  return out;
}

}  // namespace tv
