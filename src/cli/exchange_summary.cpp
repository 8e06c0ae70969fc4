#include "cli/exchange_summary.h"

#include <cstdio>
#include <unordered_map>

#include "cli/terminal_text.h"
#include "exchange/block_reader.h"
#include "util/cp1252.h"
#include "util/json_text.h"
#include "util/text.h"

namespace tv::cli {

namespace {

std::string Utf8(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

// A value of the file, or its name, for one line of the text summary.
std::string Shown(std::string_view utf8) { return TerminalText(utf8, false); }

// Pads a UTF-8 text with blanks to a width in characters.
std::string Padded(const std::string& utf8, std::size_t width) {
  std::size_t characters = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return characters >= width ? utf8 : utf8 + std::string(width - characters, ' ');
}

}  // namespace

ExchangeSummary SummarizeExchange(const xml::Document& document) {
  ExchangeSummary summary;
  summary.root = document.Root().Name();
  for (const std::string& block : kBlockCatalogue) {
    BlockSummary entry{block, 0, 0};
    for (const xml::Node& record : SelectBlockRecords(document, block)) {
      ++entry.records;
      if (SkippedByTableSteps(RecordFields(record))) ++entry.skipped;
    }
    summary.blocks.push_back(entry);
  }

  // Slots per frame code, counted in one walk.
  std::unordered_map<std::string, std::size_t> slots_per_frame;
  for (const xml::Node& slot : SelectBlockRecords(document, "TRAMOS_HORARIOS")) {
    ++slots_per_frame[AllTrim(FieldText(RecordFields(slot), 4))];
  }
  for (const xml::Node& frame : SelectBlockRecords(document, "JORNADAS_ESCOLARES")) {
    const RecordFieldList fields = RecordFields(frame);
    FrameSummary entry{AllTrim(FieldText(fields, 0)), AllTrim(FieldText(fields, 1)),
                       AllTrim(FieldText(fields, 2)), AllTrim(FieldText(fields, 3)), 0};
    if (const auto found = slots_per_frame.find(entry.code); found != slots_per_frame.end()) {
      entry.slots = found->second;
    }
    summary.frames.push_back(entry);
  }

  summary.year_code = YearCode(document);
  return summary;
}

std::string SummaryText(const ExchangeSummary& summary, const std::string& file_utf8) {
  std::string out = "Archivo: " + Shown(file_utf8) + "\n";
  if (summary.root != "SERVICIO") {
    out += "Elemento ra\xC3\xADz: " + Shown(Utf8(summary.root)) +
           " (no es SERVICIO: no se lee ning\xC3\xBAn bloque)\n";
  }
  out +=
      "C\xC3\xB3"
      "digo del a\xC3\xB1o: ";
  if (summary.year_code) {
    out += '"';
    out += Shown(Utf8(*summary.year_code));
    out += '"';
  } else {
    out += "(no hay: falta /SERVICIO/BLOQUE_DATOS o est\xC3\xA1 vac\xC3\xADo)";
  }
  out += "\n\nBloques de datos:\n";
  for (const BlockSummary& block : summary.blocks) {
    const std::string count = std::to_string(block.records);
    out += "  " + Padded(block.name, 20) +
           std::string(count.size() < 8 ? 8 - count.size() : 0, ' ') + count + " registros";
    if (block.skipped > 0) {
      out += ", " + std::to_string(block.skipped) +
             (block.skipped == 1 ? " se omite" : " se omiten") + " (un dato o ninguno)";
    }
    out += "\n";
  }
  out += "\nJornadas escolares: " + std::to_string(summary.frames.size()) + "\n";
  for (const FrameSummary& frame : summary.frames) {
    out += "  " + Padded(Shown(Utf8(frame.code)), 8) + " " + Padded(Shown(Utf8(frame.name)), 28) +
           " " + Shown(Utf8(frame.start)) + " - " + Shown(Utf8(frame.end)) + "  " +
           std::to_string(frame.slots) + (frame.slots == 1 ? " tramo" : " tramos") + "\n";
  }
  return out;
}

std::string SummaryJson(const ExchangeSummary& summary, const std::string& file_utf8) {
  std::string out = "{\n  \"file\": " + JsonString(file_utf8) +
                    ",\n  \"root\": " + JsonString(Utf8(summary.root)) + ",\n  \"year_code\": ";
  out += summary.year_code ? JsonString(Utf8(*summary.year_code)) : "null";
  out += ",\n  \"blocks\": [";
  for (std::size_t i = 0; i < summary.blocks.size(); ++i) {
    const BlockSummary& block = summary.blocks[i];
    out += std::string(i ? "," : "") + "\n    {\"name\": " + JsonString(block.name) +
           ", \"records\": " + std::to_string(block.records) +
           ", \"skipped\": " + std::to_string(block.skipped) + "}";
  }
  out += "\n  ],\n  \"time_frames\": [";
  for (std::size_t i = 0; i < summary.frames.size(); ++i) {
    const FrameSummary& frame = summary.frames[i];
    out += std::string(i ? "," : "") + "\n    {\"code\": " + JsonString(Utf8(frame.code)) +
           ", \"name\": " + JsonString(Utf8(frame.name)) +
           ", \"start\": " + JsonString(Utf8(frame.start)) +
           ", \"end\": " + JsonString(Utf8(frame.end)) +
           ", \"slots\": " + std::to_string(frame.slots) + "}";
  }
  out += "\n  ]\n}\n";
  return out;
}

}  // namespace tv::cli
