#include "export/time_slot_tables.h"

#include "exchange/block_reader.h"
#include "export/slot_time.h"
#include "export/time_frames.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldDef;
using worktables::FieldType;

const std::vector<FieldDef> kSlotFields = {
    {"DIHO", FieldType::kCharacter, 10},     {"CODDIHO", FieldType::kCharacter, 10},
    {"DIA", FieldType::kCharacter, 20},      {"TEXTODIA", FieldType::kCharacter, 20},
    {"HORA", FieldType::kCharacter, 8},      {"TEXTOHOR", FieldType::kCharacter, 15},
    {"HORADESDE", FieldType::kCharacter, 8}, {"HORAHASTA", FieldType::kCharacter, 8},
    {"MINUTOS", FieldType::kCharacter, 8},   {"MARCO", FieldType::kCharacter, 1},
    {"MARCOXML", FieldType::kCharacter, 10},
};

std::vector<FieldDef> OrderedSlotFields() {
  std::vector<FieldDef> fields = kSlotFields;
  fields.push_back({"ORDEN", FieldType::kInteger, 0});
  return fields;
}

const std::vector<FieldDef> kPeriodFields = {
    {"CJORNADA", FieldType::kCharacter, 10},
    {"JORNADA", FieldType::kCharacter, 40},
    {"FECINI", FieldType::kCharacter, 10},
    {"FECFIN", FieldType::kCharacter, 10},
};

// The keys of the chosen frames (FrameKey).
struct ChosenCodes {
  std::string first;
  std::string second;
};

// One slot of a chosen frame, as read once from the file.
struct Slot {
  bool of_first = false;  // counts with the first code's hours
  std::string frame;      // MARCOXML
  std::string key;        // the frame it belongs to
  std::string code;
  std::string text;
  int start = 0;
  int end = 0;
};

// The keys of the chosen frames: the user's choice when the file holds two or more
// frames, else the only one. With one frame chosen the second key is empty.
ChosenCodes ChooseFrames(ExportContext& context) {
  const std::vector<TimeFrame> frames = ReadTimeFrames(context.document);
  if (frames.empty()) {
    throw RunError(
        "El archivo no tiene ning\xFAn Marco Horario (bloque JORNADAS_ESCOLARES): no se "
        "puede crear la tabla de horas");
  }
  if (frames.size() == 1) return {FrameKey(frames.front().code), ""};
  context.ui.SetBusy(false);
  for (;;) {
    const FrameChoice choice = context.ui.ChooseFrames(frames);
    if (choice.kind == FrameChoice::Kind::kAccepted && !choice.codes.empty() &&
        choice.codes.size() <= 2) {
      context.ui.SetBusy(true);
      return {FrameKey(choice.codes[0]), choice.codes.size() == 2 ? FrameKey(choice.codes[1]) : ""};
    }
    if (choice.kind == FrameChoice::Kind::kCancelled) {
      throw FrameChoiceCancelled(
          "Exportaci\xF3n cancelada: no se eligi\xF3 ning\xFAn Marco Horario. La carpeta de "
          "trabajo no ha cambiado.");
    }
  }
}

std::vector<Slot> ReadSlots(const ExportContext& context, const ChosenCodes& codes) {
  std::vector<Slot> slots;
  const BlockRecords records = SelectBlockRecords(context.document, "TRAMOS_HORARIOS");
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    Slot slot;
    slot.frame = LeftPart(AllTrim(FieldText(fields, 4)), 10);
    slot.key = FrameKey(slot.frame);
    if (slot.key != codes.first && slot.key != codes.second) continue;
    slot.of_first = slot.key == codes.first;
    slot.code = AllTrim(FieldText(fields, 0));
    slot.text = AllTrim(FieldText(fields, 1));
    try {
      slot.start = SlotMinutes(AllTrim(FieldText(fields, 2)));
      slot.end = SlotMinutes(AllTrim(FieldText(fields, 3)));
    } catch (const RunError& error) {
      throw RunError(error.message() + RecordPlace("TRAMOS_HORARIOS", index));
    }
    slots.push_back(std::move(slot));
  }
  return slots;
}

// Minutes of the first slot of a frame on day 1 as the table shows it (HORADESDE), or
// `none` when the frame has no slot.
int FirstStart(const std::vector<Slot>& slots, const std::string& key, int none) {
  for (const Slot& slot : slots) {
    if (slot.key == key) return ClockMinutes(RTrim(LeftPart(ClockText(slot.start), 8)));
  }
  return none;
}

}  // namespace

void BuildTimeSlotTables(ExportContext& context) {
  worktables::Table slot_table = context.tables.RecreateWorkTable("DIASHORAST", kSlotFields);
  context.tables.RecreateWorkTable("DIASHORAST2", OrderedSlotFields(), {{"ORDEN", "ORDEN"}});
  worktables::Table periods = context.tables.RecreateWorkTable("PERIODOS", kPeriodFields);

  const ChosenCodes codes = ChooseFrames(context);
  const std::vector<Slot> slots = ReadSlots(context, codes);

  // The frame whose first slot starts earlier is frame 0; on equal starts the first code.
  const int first_start = FirstStart(slots, codes.first, 0);
  const int second_start = FirstStart(slots, codes.second, 1440);
  const char first_number = first_start <= second_start ? '0' : '1';
  const char second_number = first_number == '0' ? '1' : '0';

  slot_table.Open();
  std::size_t rows = 0;
  for (int day = 1; day <= 7; ++day) {
    int first_hours = 0;
    int second_hours = 0;
    const std::string day_text = std::to_string(day);
    for (const Slot& slot : slots) {
      const std::string hour = std::to_string(slot.of_first ? ++first_hours : ++second_hours);
      slot_table.Append();
      slot_table.SetText("DIHO", day_text + hour);
      slot_table.SetText("CODDIHO", slot.code);
      slot_table.SetText("DIA", day_text);
      slot_table.SetText("HORA", hour);
      slot_table.SetText("TEXTOHOR", slot.text);
      slot_table.SetText("HORADESDE", ClockText(slot.start));
      slot_table.SetText("HORAHASTA", ClockText(slot.end));
      slot_table.SetText("MINUTOS", std::to_string(static_cast<long long>(slot.end) - slot.start));
      slot_table.SetText("MARCO", std::string(1, slot.of_first ? first_number : second_number));
      slot_table.SetText("MARCOXML", slot.frame);
      slot_table.Post();
      ++rows;
    }
  }
  slot_table.Close();
  context.Count("DIASHORAST", rows);
  context.Count("DIASHORAST2", 0);

  periods.Open();
  rows = 0;
  for (const xml::Node& frame : SelectBlockRecords(context.document, "JORNADAS_ESCOLARES")) {
    const RecordFieldList fields = RecordFields(frame);
    const std::string code = AllTrim(FieldText(fields, 0));
    const std::string key = FrameKey(code);
    if (key != codes.first && key != codes.second) continue;
    periods.Append();
    periods.SetText("CJORNADA", code);
    periods.SetText("JORNADA", AllTrim(FieldText(fields, 1)));
    periods.SetText("FECINI", AllTrim(FieldText(fields, 2)));
    periods.SetText("FECFIN", AllTrim(FieldText(fields, 3)));
    periods.Post();
    ++rows;
  }
  periods.Close();
  context.Count("PERIODOS", rows);
}

}  // namespace tv
