#include "export/room_table.h"

#include "exchange/block_reader.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldType;

const std::vector<worktables::FieldDef> kRoomFields = {
    {"ABREV", FieldType::kCharacter, 10},     {"NOMBRE", FieldType::kCharacter, 80},
    {"EDIFICIO", FieldType::kCharacter, 1},   {"MAXALUM", FieldType::kInteger, 0},
    {"DEPCENTRO", FieldType::kCharacter, 10},
};

}  // namespace

void BuildRoomTable(ExportContext& context) {
  worktables::Table table = context.tables.RecreateWorkTable("AULAT", kRoomFields);
  CodeList used(CodeList::Case::kIgnored);
  table.Open();
  RecordInfo record{"DEPENDENCIAS"};
  context.WatchCuts(table, "AULAT", record);
  const BlockRecords records = SelectBlockRecords(context.document, "DEPENDENCIAS");
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    std::string key = AllTrim(FieldText(fields, 0));
    const std::string name = AllTrim(FieldText(fields, 1));
    record = {"DEPENDENCIAS", index, key, name};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
    if (key.empty()) key = LeftPart(name, 6);
    const std::string first_try = StoredCode(RTrim(key));
    const auto code = used.GiveOut(first_try, key);
    if (!code) {
      throw RunError(
          "No queda ning\xFAn c\xF3"
          "digo libre para la dependencia '" +
          name +
          "': todos los c\xF3"
          "digos numerados de '" +
          key + "' est\xE1n ocupados" + RecordPlace("DEPENDENCIAS", index));
    }
    NoteIfNumbered(context, record, first_try, *code, "AULAT.ABREV", "la dependencia");
    table.Append();
    table.SetText("ABREV", *code);
    table.SetText("NOMBRE", name);
    table.SetText("DEPCENTRO", "");
    table.Post();
    ++rows;
  }
  table.Close();
  context.Count("AULAT", rows);
}

}  // namespace tv
