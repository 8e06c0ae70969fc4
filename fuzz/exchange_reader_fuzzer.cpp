// The exchange-file reader on any bytes, in each encoding it accepts, with the block
// reader, the time frames and what `inspect` shows. A file is either read or refused
// with our own error; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/exchange_summary.h"
#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "export/time_frames.h"
#include "util/run_error.h"

namespace {

// The same text as UTF-16 with a byte order mark; every byte becomes one character.
std::string Utf16(const std::string& bytes, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : bytes) {
    out += big_endian ? '\0' : c;
    out += big_endian ? c : '\0';
  }
  return out;
}

// The input as it is, or (chosen by its length, so that mutations move between them) as
// UTF-16 either way round, or behind a declaration of an 8-bit encoding.
std::string InSomeEncoding(const std::string& bytes) {
  switch (bytes.size() % 5) {
    case 1:
      return Utf16(bytes, false);
    case 2:
      return Utf16(bytes, true);
    case 3:
      return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + bytes;
    case 4:
      return "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + bytes;
    default:
      return bytes;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  try {
    const tv::xml::Document document = tv::xml::Document::Parse(InSomeEncoding(input), "f.xml");
    for (const std::string& block : tv::kBlockCatalogue) {
      for (const tv::xml::Node& record : tv::SelectBlockRecords(document, block)) {
        const tv::RecordFieldList fields = tv::RecordFields(record);
        for (std::size_t i = 0; i <= fields.size(); ++i) (void)tv::FieldText(fields, i);
      }
    }
    (void)tv::YearCode(document);
    for (const tv::TimeFrame& frame : tv::ReadTimeFrames(document)) {
      (void)tv::FrameKey(frame.code);
    }
    const tv::cli::ExchangeSummary summary = tv::cli::SummarizeExchange(document);
    (void)tv::cli::SummaryText(summary, "f.xml");
    (void)tv::cli::SummaryJson(summary, "f.xml");
    (void)document.DeclaredEncoding();
  } catch (const tv::RunError& error) {
    if (error.message().empty()) __builtin_trap();
  }
  return 0;
}
