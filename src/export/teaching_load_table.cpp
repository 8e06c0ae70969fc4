#include "export/teaching_load_table.h"

#include <unordered_map>

#include "exchange/block_reader.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldType;

const std::vector<worktables::FieldDef> kLoadFields = {
    {"CASIG", FieldType::kCharacter, 10},      {"CPROF", FieldType::kCharacter, 10},
    {"CGRUP", FieldType::kCharacter, 10},      {"CAULA", FieldType::kCharacter, 10},
    {"TURNO", FieldType::kCharacter, 1},       {"NIVEL", FieldType::kCharacter, 5},
    {"CURSO", FieldType::kCharacter, 3},       {"GRUPO", FieldType::kCharacter, 2},
    {"HORAS", FieldType::kFloat, 0},           {"SESIONES", FieldType::kCharacter, 20},
    {"NCONEX", FieldType::kCharacter, 4},      {"CLAVE", FieldType::kCharacter, 10},
    {"CLAVECURSO", FieldType::kCharacter, 10}, {"CTAREA", FieldType::kCharacter, 10},
};

// Every load takes 240 minutes a week: 4 hours, one session of an hour each.
constexpr int kWeeklyMinutes = 240;
constexpr int kHours = (kWeeklyMinutes + 59) / 60;

// Subject names are compared upper-cased (a to z only) and trimmed.
std::string NameKey(std::string_view name) { return AllTrim(UpperAscii(name)); }

// COD of the first subject-table row of each name.
std::unordered_map<std::string, std::string> ReadSubjectCodes(ExportContext& context) {
  std::unordered_map<std::string, std::string> codes;
  worktables::Table subjects =
      context.tables.OpenWorkTable("ASIGNOMT", worktables::OpenMode::kExclusive);
  const std::size_t name = subjects.FieldIndex("NOMBRE");
  const std::size_t code = subjects.FieldIndex("COD");
  for (subjects.First(); !subjects.Eof(); subjects.Next()) {
    codes.try_emplace(NameKey(subjects.GetText(name)), subjects.GetText(code));
  }
  subjects.Close();
  return codes;
}

struct GroupRow {
  std::string code;
  std::string level;
  std::string course;
  std::string letter;
};

// The group rows of each course key, in table order.
std::unordered_map<std::string, std::vector<GroupRow>> ReadGroups(ExportContext& context) {
  std::unordered_map<std::string, std::vector<GroupRow>> groups;
  worktables::Table table =
      context.tables.OpenWorkTable("GRUPOST", worktables::OpenMode::kExclusive);
  const std::size_t course_key = table.FieldIndex("CLAVECURSO");
  const std::size_t code = table.FieldIndex("ABREV");
  const std::size_t level = table.FieldIndex("NIVEL");
  const std::size_t course = table.FieldIndex("CURSO");
  const std::size_t letter = table.FieldIndex("GRUPO");
  for (table.First(); !table.Eof(); table.Next()) {
    groups[table.GetText(course_key)].push_back(GroupRow{
        table.GetText(code), table.GetText(level), table.GetText(course), table.GetText(letter)});
  }
  table.Close();
  return groups;
}

}  // namespace

void BuildTeachingLoadTable(ExportContext& context) {
  worktables::Table loads = context.tables.RecreateWorkTable("ASIGT", kLoadFields);
  loads.Open();
  const auto groups = ReadGroups(context);
  const auto codes = ReadSubjectCodes(context);
  const std::string sessions(kHours, '1');
  const BlockRecords records = SelectBlockRecords(context.document, "MATERIAS");
  RecordInfo record{"MATERIAS"};
  context.WatchCuts(loads, "ASIGT", record);
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    // The subject step has noted the records it skips for too few fields.
    if (SkippedByTableSteps(fields)) continue;
    const std::string course_key = AllTrim(FieldText(fields, 0));
    const std::string subject_key = AllTrim(FieldText(fields, 1));
    const std::string name = AllTrim(FieldText(fields, 2));
    record = {"MATERIAS", index, subject_key, name};
    const auto code = codes.find(NameKey(LeftPart(name, 80)));
    if (code == codes.end() || code->second.empty()) {
      context.Note(EntryKind::kLoadWithoutSubject, record,
                   code == codes.end()
                       ? "ninguna fila de ASIGNOMT tiene este nombre: la materia no tiene carga "
                         "lectiva"
                       : "la fila de ASIGNOMT con este nombre no tiene c\xF3"
                         "digo: la materia no tiene carga lectiva",
                   "ASIGNOMT.NOMBRE", name);
      continue;
    }
    const auto of_course = groups.find(course_key);
    if (of_course == groups.end()) {
      context.Note(
          EntryKind::kLoadWithoutGroups, record,
          "ninguna unidad es del curso '" + course_key + "': la materia no tiene carga lectiva",
          "GRUPOST.CLAVECURSO", course_key);
      continue;
    }
    for (const GroupRow& group : of_course->second) {
      loads.Append();
      loads.SetText("CASIG", code->second);
      loads.SetText("CGRUP", group.code);
      loads.SetText("CAULA", "");
      loads.SetText("TURNO", "");
      loads.SetText("NIVEL", group.level);
      loads.SetText("CURSO", group.course);
      loads.SetText("GRUPO", group.letter);
      loads.SetFloat("HORAS", kHours);
      loads.SetText("SESIONES", sessions);
      loads.SetText("CLAVE", subject_key);
      loads.SetText("CLAVECURSO", course_key);
      loads.SetText("CTAREA", "1");
      loads.Post();
      ++rows;
    }
  }
  loads.Close();
  context.Count("ASIGT", rows);
}

}  // namespace tv
