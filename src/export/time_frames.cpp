#include "export/time_frames.h"

#include <map>

#include "exchange/block_reader.h"
#include "util/text.h"

namespace tv {

std::string FrameKey(const std::string& code) { return AllTrim(LeftPart(AllTrim(code), 10)); }

std::vector<TimeFrame> ReadTimeFrames(const xml::Document& document) {
  std::vector<TimeFrame> frames;
  for (const xml::Node& record : SelectBlockRecords(document, "JORNADAS_ESCOLARES")) {
    const RecordFieldList fields = RecordFields(record);
    frames.push_back(TimeFrame{FieldText(fields, 0),
                               FieldText(fields, 1),
                               FieldText(fields, 2),
                               FieldText(fields, 3),
                               {}});
  }
  if (frames.empty()) return frames;
  // The slot texts of each key, read once; frames that share a key share their slots.
  std::map<std::string, std::vector<std::string>> slots_by_key;
  for (const xml::Node& record : SelectBlockRecords(document, "TRAMOS_HORARIOS")) {
    const RecordFieldList fields = RecordFields(record);
    slots_by_key[FrameKey(FieldText(fields, 4))].push_back(FieldText(fields, 1));
  }
  for (TimeFrame& frame : frames) {
    const auto slots = slots_by_key.find(FrameKey(frame.code));
    if (slots != slots_by_key.end()) frame.slot_texts = slots->second;
  }
  return frames;
}

}  // namespace tv
