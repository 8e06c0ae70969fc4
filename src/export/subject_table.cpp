#include "export/subject_table.h"

#include "exchange/block_reader.h"
#include "export/subject_code.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldType;

const std::vector<worktables::FieldDef> kSubjectFields = {
    {"COD", FieldType::kCharacter, 10},      {"CODLARGO", FieldType::kCharacter, 10},
    {"NOMBRE", FieldType::kCharacter, 80},   {"MATERIA", FieldType::kCharacter, 8},
    {"CODTAREA", FieldType::kCharacter, 12}, {"ESTAREA", FieldType::kLogical, 0},
};

}  // namespace

void BuildSubjectTable(ExportContext& context) {
  worktables::Table table = context.tables.RecreateWorkTable("ASIGNOMT", kSubjectFields);
  const BlockRecords records = SelectBlockRecords(context.document, "MATERIAS");
  table.Open();
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    if (SkippedByTableSteps(fields)) continue;
    const std::string name = AllTrim(FieldText(fields, 2));
    if (name.empty()) continue;  // no character to make a code from: not a subject
    const SubjectCode made = MakeSubjectCode(name);
    // A subject whose name was written before, ignoring the case of a to z, is left out.
    if (!context.used_names.insert(UpperAscii(name)).second) continue;
    const auto code = context.used_codes.GiveOut(made.code, made.code);
    if (!code) {
      throw RunError(
          "No queda ning\xFAn c\xF3"
          "digo libre para la materia '" +
          name +
          "': todos los c\xF3"
          "digos numerados de '" +
          made.code + "' est\xE1n ocupados" + RecordPlace("MATERIAS", index));
    }
    table.Append();
    table.SetText("COD", *code);
    table.SetText("CODLARGO", made.long_code);
    table.SetText("NOMBRE", name);
    table.SetBool("ESTAREA", false);
    table.Post();
    ++rows;
  }
  table.Close();
  context.Count("ASIGNOMT", rows);
}

void AddActivities(ExportContext& context) {
  const BlockRecords records = SelectBlockRecords(context.document, "ACTIVIDADES");
  worktables::Table table = context.tables.OpenWorkTable("ASIGNOMT");
  std::size_t rows = 0;
  for (const xml::Node& record : records) {
    const RecordFieldList fields = RecordFields(record);
    if (SkippedByTableSteps(fields)) continue;
    const std::string name = AllTrim(FieldText(fields, 2));
    const std::string code = AllTrim(FieldText(fields, 1));
    table.Append();
    table.SetText("COD", code);
    table.SetText("CODLARGO", LeftPart(name, 8));
    table.SetText("NOMBRE", name);
    table.SetText("CODTAREA", code);
    table.SetBool("ESTAREA", true);
    table.Post();
    ++rows;
  }
  table.Close();
  context.Count("ASIGNOMT", rows);
  context.used_codes = CodeList(CodeList::Case::kSensitive);
  context.used_names.clear();
}

}  // namespace tv
