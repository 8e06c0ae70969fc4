#include "export/course_and_group_tables.h"

#include <unordered_map>

#include "exchange/block_reader.h"
#include "export/level_table.h"
#include "util/text.h"

namespace tv {

namespace {

using worktables::FieldType;

const std::vector<worktables::FieldDef> kCourseFields = {
    {"ABREV", FieldType::kCharacter, 10}, {"TURNO", FieldType::kCharacter, 1},
    {"NIVEL", FieldType::kCharacter, 5},  {"CURSO", FieldType::kCharacter, 3},
    {"CLAVE", FieldType::kCharacter, 10}, {"ESTUD", FieldType::kCharacter, 80},
};

const std::vector<worktables::FieldDef> kGroupFields = {
    {"ABREV", FieldType::kCharacter, 10},      {"TURNO", FieldType::kCharacter, 1},
    {"NIVEL", FieldType::kCharacter, 5},       {"CURSO", FieldType::kCharacter, 3},
    {"GRUPO", FieldType::kCharacter, 2},       {"DESCRIP", FieldType::kCharacter, 80},
    {"MARCO", FieldType::kCharacter, 1},       {"CLAVE", FieldType::kCharacter, 10},
    {"CLAVECURSO", FieldType::kCharacter, 10},
};

struct CourseRow {
  std::string level;
  std::string course;
  std::string study;
};

void WriteCourses(ExportContext& context, worktables::Table& courses) {
  const BlockRecords records = SelectBlockRecords(context.document, "CURSOS_DEL_CENTRO");
  const LevelTable levels = LevelTable::Load(context.program_folder);
  RecordInfo record{"CURSOS_DEL_CENTRO"};
  context.WatchCuts(courses, "CURSOST", record);
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    const std::string key = AllTrim(FieldText(fields, 0));
    record = {"CURSOS_DEL_CENTRO", index, key, AllTrim(FieldText(fields, 1))};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
    int number = 0;
    try {
      number = ParseInteger(key);
    } catch (const RunError& error) {
      throw RunError(error.message() + RecordPlace("CURSOS_DEL_CENTRO", index));
    }
    const std::string name = AllTrim(FieldText(fields, 1));
    std::string study = name;
    std::string level = "Niv";
    if (const LevelRow* row = levels.Find(number)) {
      level = row->level;
      study = row->study;
    } else {
      context.Note(EntryKind::kUnknownCourseKey, record,
                   "la clave " + key +
                       " no est\xE1 en NIVELEX.DBF: el curso se escribe con NIVEL 'Niv' y su "
                       "propio nombre como estudio",
                   "CURSOST.NIVEL", "Niv");
    }
    if (level.empty()) level = "Niv";
    courses.Append();
    courses.SetText("CLAVE", key);
    courses.SetText("NIVEL", level);
    courses.SetText("CURSO", LeftPart(name, 1));
    courses.SetText("ESTUD", study);
    courses.Post();
    ++rows;
  }
  context.Count("CURSOST", rows);
}

// The course rows as the table stores them, by CLAVE; the first row of a key wins.
std::unordered_map<std::string, CourseRow> ReadCourses(worktables::Table& courses) {
  std::unordered_map<std::string, CourseRow> by_key;
  const std::size_t key = courses.FieldIndex("CLAVE");
  const std::size_t level = courses.FieldIndex("NIVEL");
  const std::size_t course = courses.FieldIndex("CURSO");
  const std::size_t study = courses.FieldIndex("ESTUD");
  for (courses.First(); !courses.Eof(); courses.Next()) {
    by_key.try_emplace(
        courses.GetText(key),
        CourseRow{courses.GetText(level), courses.GetText(course), courses.GetText(study)});
  }
  return by_key;
}

void WriteGroups(ExportContext& context, const std::unordered_map<std::string, CourseRow>& courses,
                 worktables::Table& groups) {
  const BlockRecords records = SelectBlockRecords(context.document, "UNIDADES");
  CodeList used(CodeList::Case::kIgnored);
  const CourseRow none;
  RecordInfo record{"UNIDADES"};
  context.WatchCuts(groups, "GRUPOST", record);
  std::size_t rows = 0;
  for (std::size_t index = 0; index < records.size(); ++index) {
    const RecordFieldList fields = RecordFields(records[index]);
    const std::string key = AllTrim(FieldText(fields, 0));
    const std::string name = AllTrim(FieldText(fields, 1));
    record = {"UNIDADES", index, key, name};
    if (SkippedByTableSteps(fields)) {
      NoteTooFewFields(context, record, fields);
      continue;
    }
    const std::string course_key = AllTrim(FieldText(fields, 2));
    const auto found = courses.find(course_key);
    if (found == courses.end()) {
      context.Note(EntryKind::kGroupWithoutCourse, record,
                   "ning\xFAn curso tiene la clave '" + course_key +
                       "': la unidad se escribe sin nivel ni curso",
                   "GRUPOST.CLAVECURSO", course_key);
    }
    const CourseRow& course = found == courses.end() ? none : found->second;
    const std::string letter = RightPart(name, 1);
    const std::string first_try = StoredCode(name);
    const auto code = used.GiveOut(first_try, name);
    if (!code) {
      throw RunError(
          "No queda ning\xFAn c\xF3"
          "digo libre para la unidad '" +
          name +
          "': todos los c\xF3"
          "digos numerados est\xE1n ocupados" +
          RecordPlace("UNIDADES", index));
    }
    NoteIfNumbered(context, record, first_try, *code, "GRUPOST.ABREV", "la unidad");
    groups.Append();
    groups.SetText("ABREV", *code);
    groups.SetText("TURNO", "");
    groups.SetText("NIVEL", course.level);
    groups.SetText("CURSO", course.course);
    groups.SetText("GRUPO", letter);
    groups.SetText("DESCRIP", !course.study.empty()
                                  ? course.study
                                  : " " + course.level + " " + course.course + " " + letter);
    groups.SetText("MARCO", "0");
    groups.SetText("CLAVE", key);
    groups.SetText("CLAVECURSO", course_key);
    groups.Post();
    ++rows;
  }
  context.Count("GRUPOST", rows);
}

}  // namespace

void BuildCourseAndGroupTables(ExportContext& context) {
  worktables::Table courses = context.tables.RecreateWorkTable("CURSOST", kCourseFields);
  worktables::Table groups = context.tables.RecreateWorkTable("GRUPOST", kGroupFields);
  courses.Open();
  WriteCourses(context, courses);
  const auto by_key = ReadCourses(courses);
  groups.Open();
  WriteGroups(context, by_key, groups);
  groups.Close();
  courses.Close();
}

}  // namespace tv
