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
  RecordInfo record{"MATERIAS"};
  // The long code is meant to keep only the first ten characters.
  context.WatchCuts(table, "ASIGNOMT", record, {"CODLARGO"});
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    const std::string name = AllTrim(FieldText(fields, 2));
    record = {"MATERIAS", index, AllTrim(FieldText(fields, 1)), name};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
    if (name.empty()) {
      // No character to make a code from: not a subject.
      context.Note(EntryKind::kSkippedRecord, record, "la materia no tiene nombre: no se escribe");
      continue;
    }
    const SubjectCode made = MakeSubjectCode(name);
    // A subject whose name was written before, ignoring the case of a to z, is left out:
    // its loads take the code of the row written.
    const auto [written, fresh] = context.used_names.try_emplace(UpperAscii(name));
    if (!fresh) {
      context.Note(EntryKind::kRepeatedSubject, record,
                   "ya hay una materia con este nombre (sin distinguir may\xFAsculas de la a a "
                   "la z): no se escribe otra fila; sus cargas lectivas llevan el c\xF3"
                   "digo '" +
                       written->second + "'",
                   "ASIGNOMT.COD", written->second);
      continue;
    }
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
    written->second = *code;
    NoteIfNumbered(context, record, made.code, *code, "ASIGNOMT.COD", "la materia");
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
  RecordInfo record{"ACTIVIDADES"};
  context.WatchCuts(table, "ASIGNOMT", record);
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    const std::string name = AllTrim(FieldText(fields, 2));
    const std::string code = AllTrim(FieldText(fields, 1));
    record = {"ACTIVIDADES", index, code, name};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
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
