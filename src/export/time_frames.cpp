#include "export/time_frames.h"

#include "exchange/block_reader.h"

namespace tv {

std::vector<TimeFrame> ReadTimeFrames(const xml::Document& document) {
  std::vector<TimeFrame> frames;
  for (const xml::Node& record : SelectBlockRecords(document, "JORNADAS_ESCOLARES")) {
    const RecordFieldList fields = RecordFields(record);
    frames.push_back(TimeFrame{FieldText(fields, 0), FieldText(fields, 1), FieldText(fields, 2),
                               FieldText(fields, 3)});
  }
  return frames;
}

std::vector<std::string> SlotTextsOfFrame(const xml::Document& document, const std::string& code) {
  std::vector<std::string> texts;
  for (const xml::Node& record : SelectBlockRecords(document, "TRAMOS_HORARIOS")) {
    const RecordFieldList fields = RecordFields(record);
    if (FieldText(fields, 4) == code) texts.push_back(FieldText(fields, 1));
  }
  return texts;
}

std::size_t SlotRecordCount(const xml::Document& document) {
  return SelectBlockRecords(document, "TRAMOS_HORARIOS").size();
}

}  // namespace tv
