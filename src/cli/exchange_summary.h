// What `transvelor inspect` reports about an exchange file: the data blocks the export
// reads with their record counts, the time frames with their slots, and the year code.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "exchange/xml_document.h"

namespace tv::cli {

struct BlockSummary {
  std::string name;         // the block's `seq`, as in the catalogue
  std::size_t records = 0;  // its block records (all blocks of that name together)
  std::size_t skipped = 0;  // records the table steps skip: at most one record field
};

struct FrameSummary {
  // Record fields 0 to 3 of a JORNADAS_ESCOLARES record, trimmed (code page 1252).
  std::string code, name, start, end;
  // TRAMOS_HORARIOS records whose trimmed field 4 equals the trimmed frame code.
  std::size_t slots = 0;
};

struct ExchangeSummary {
  std::string root;                  // the root element's name; the export reads SERVICIO only
  std::vector<BlockSummary> blocks;  // in the order of the catalogue
  std::vector<FrameSummary> frames;  // in document order
  // The first four characters of the text of the first child node of BLOQUE_DATOS
  // under the root SERVICIO; nothing when there is no such node.
  std::optional<std::string> year_code;
};

ExchangeSummary SummarizeExchange(const xml::Document& document);

// For a person (UTF-8) and as a JSON object (UTF-8); `file` names the input.
std::string SummaryText(const ExchangeSummary& summary, const std::string& file_utf8);
std::string SummaryJson(const ExchangeSummary& summary, const std::string& file_utf8);

}  // namespace tv::cli
