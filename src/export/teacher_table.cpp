#include "export/teacher_table.h"

#include "exchange/block_reader.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldType;

const std::vector<worktables::FieldDef> kTeacherFields = {
    {"ABREV", FieldType::kCharacter, 10},     {"NOMBRE", FieldType::kCharacter, 80},
    {"DEPART", FieldType::kCharacter, 40},    {"EMAIL", FieldType::kCharacter, 100},
    {"DNI", FieldType::kInteger, 0},          {"X_EMPLEADO", FieldType::kCharacter, 10},
    {"F_TOMAPOS", FieldType::kCharacter, 10},
};

}  // namespace

void BuildTeacherTable(ExportContext& context) {
  worktables::Table table = context.tables.RecreateWorkTable("PROFT", kTeacherFields);
  CodeList used(CodeList::Case::kIgnored);
  table.Open();
  RecordInfo record{"EMPLEADOS"};
  context.WatchCuts(table, "PROFT", record);
  const BlockRecords records = SelectBlockRecords(context.document, "EMPLEADOS");
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    const std::string key = AllTrim(FieldText(fields, 0));
    record = {"EMPLEADOS", index, key, {}};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
    const std::string post = AllTrim(FieldText(fields, 1));
    const std::string department = AllTrim(FieldText(fields, 2));
    std::string name;
    std::string initials;
    const char* separators[] = {"", " ", ", "};
    for (std::size_t part = 0; part < 3; ++part) {
      // The initials come from the untrimmed texts, so a leading blank counts.
      const std::string text = FieldText(fields, 3 + part);
      if (!text.empty()) initials += text.front();
      name += separators[part] + AllTrim(text);
    }
    record.name = name;
    const auto code = used.GiveOut(initials, initials);
    if (!code) {
      throw RunError(
          "No queda ning\xFAn c\xF3"
          "digo libre para el profesor '" +
          name + "' (X_EMPLEADO '" + key +
          "'): todos los c\xF3"
          "digos numerados de '" +
          initials + "' est\xE1n ocupados" + RecordPlace("EMPLEADOS", index));
    }
    NoteIfNumbered(context, record, initials, *code, "PROFT.ABREV", "el profesor");
    table.Append();
    table.SetText("ABREV", *code);
    table.SetText("NOMBRE", name);
    table.SetText("DEPART", department);
    table.SetText("X_EMPLEADO", key);
    table.SetText("F_TOMAPOS", post);
    table.Post();
    ++rows;
  }
  table.Close();
  context.Count("PROFT", rows);
}

}  // namespace tv
