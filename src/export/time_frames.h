// What the time-frame dialog shows of an exchange file: the frames of
// "JORNADAS_ESCOLARES" and the slot texts of "TRAMOS_HORARIOS", as the file gives them
// (untrimmed, no record skipped for having few fields). Texts are code page 1252.
#pragma once

#include <string>
#include <vector>

#include "exchange/xml_document.h"

namespace tv {

struct TimeFrame {
  std::string code;        // field 0
  std::string name;        // field 1
  std::string start_date;  // field 2
  std::string end_date;    // field 3
};

// Every frame record in document order.
std::vector<TimeFrame> ReadTimeFrames(const xml::Document& document);

// The slot texts (field 1) of the slot records whose frame code (field 4) equals `code`
// exactly, in document order.
std::vector<std::string> SlotTextsOfFrame(const xml::Document& document, const std::string& code);

// The number of slot records of the file (the dialog fills its slot list only when
// there are more than one).
std::size_t SlotRecordCount(const xml::Document& document);

}  // namespace tv
