// What the export run tells its user beyond the tables: one small school per kind of
// entry, each differing from a school that gives no entry at all in one block.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "export_fixture.h"

namespace tv::testing_export {
namespace {

// A school whose export decides nothing worth telling.
const std::vector<Block> kQuietSchool = {
    {"MATERIAS", {{"6001", "120001", "Lengua"}}},
    {"ACTIVIDADES", {{"T", "GUAR", "Guardia"}}},
    {"EMPLEADOS", {{"1", "01/09/2008", "Lengua", "García", "Martín", "José"}}},
    {"DEPENDENCIAS", {{"A01", "Aula 1"}}},
    {"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}}},
    {"UNIDADES", {{"9101", "1º ESO A", "6001"}}},
    OneFrame(),
    OneSlot(),
};

// The quiet school with `changed` in place of its blocks of the same names.
std::vector<Block> SchoolWith(const std::vector<Block>& changed) {
  std::vector<Block> blocks = kQuietSchool;
  for (const Block& block : changed) {
    for (Block& mine : blocks) {
      if (mine.seq == block.seq) mine = block;
    }
  }
  return blocks;
}

// An entry as the tests compare it: everything but the wording of its reason (UTF-8).
struct Expected {
  EntryKind kind;
  std::string block;
  std::size_t record;
  std::string key;
  std::string name;
  std::string field;
  std::string value;
  bool operator==(const Expected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Expected& e) {
  return out << KindId(e.kind) << " " << e.block << "#" << e.record << " key '" << e.key
             << "' name '" << e.name << "' " << e.field << " '" << e.value << "'";
}

struct Case {
  const char* title;
  std::vector<Block> changed;
  std::vector<Expected> expected;
  std::vector<std::string> frame_answer = {};  // the codes chosen in the dialog, if asked
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.title; }

const Case kCases[] = {
    {"a quiet school", {}, {}},
    {"a teacher record with one field",
     {{"EMPLEADOS", {{"1", "01/09/2008", "Lengua", "García", "Martín", "José"}, {"7"}}}},
     {{EntryKind::kSkippedRecord, "EMPLEADOS", 2, "7", "", "", ""}}},
    {"an activity record with one field",
     {{"ACTIVIDADES", {{"BIBL"}, {"T", "GUAR", "Guardia"}}}},
     {{EntryKind::kSkippedRecord, "ACTIVIDADES", 1, "", "", "", ""}}},
    {"a subject without a name: no row and no load",
     {{"MATERIAS", {{"6001", "120001", "Lengua"}, {"6001", "120002", "  "}}}},
     {{EntryKind::kSkippedRecord, "MATERIAS", 2, "120002", "", "", ""},
      {EntryKind::kLoadWithoutSubject, "MATERIAS", 2, "120002", "", "ASIGNOMT.NOMBRE", ""}}},
    {"a subject name written before, in other letter case",
     {{"MATERIAS", {{"6001", "120001", "Lengua"}, {"6001", "120002", "LENGUA"}}}},
     {{EntryKind::kRepeatedSubject, "MATERIAS", 2, "120002", "LENGUA", "ASIGNOMT.COD", "Lengua"}}},
    {"a subject code numbered",
     {{"MATERIAS", {{"6001", "120001", "Ciencias Sociales"}, {"6001", "120002", "Cultura Sueca"}}}},
     {{EntryKind::kNumberedCode, "MATERIAS", 2, "120002", "Cultura Sueca", "ASIGNOMT.COD", "CS1"}}},
    {"a teacher code numbered, the search ignoring letter case",
     {{"EMPLEADOS",
       {{"1", "01/09/2008", "Lengua", "García", "Martín", "José"},
        {"2", "01/09/2010", "Inglés", "gil", "mora", "juan"}}}},
     {{EntryKind::kNumberedCode, "EMPLEADOS", 2, "2", "gil mora, juan", "PROFT.ABREV", "gmj1"}}},
    {"a room code numbered",
     {{"DEPENDENCIAS", {{"A01", "Aula 1"}, {"A01", "Aula 1 bis"}}}},
     {{EntryKind::kNumberedCode, "DEPENDENCIAS", 2, "A01", "Aula 1 bis", "AULAT.ABREV", "A011"}}},
    {"a group code numbered",
     {{"UNIDADES", {{"9101", "3A", "6001"}, {"9102", "3A", "6001"}}}},
     {{EntryKind::kNumberedCode, "UNIDADES", 2, "9102", "3A", "GRUPOST.ABREV", "3A1"}}},
    {"a teacher's key cut to the field, noted once",
     {{"EMPLEADOS", {{"123456789012", "01/09/2008", "Lengua", "García", "Martín", "José"}}}},
     {{EntryKind::kCutText, "EMPLEADOS", 1, "123456789012", "García Martín, José",
       "PROFT.X_EMPLEADO", "123456789012"}}},
    {"a slot text cut once, not once a day",
     {{"TRAMOS_HORARIOS", {{"11", "Primera hora de la mañana", "480", "535", "1"}}}},
     {{EntryKind::kCutText, "TRAMOS_HORARIOS", 1, "11", "Primera hora de la mañana",
       "DIASHORAST.TEXTOHOR", "Primera hora de la mañana"}}},
    {"a subject key cut in every load of its course, noted once",
     {{"MATERIAS", {{"6001", "12000100000001", "Lengua"}}},
      {"UNIDADES", {{"9101", "1º ESO A", "6001"}, {"9102", "1º ESO B", "6001"}}}},
     {{EntryKind::kCutText, "MATERIAS", 1, "12000100000001", "Lengua", "ASIGT.CLAVE",
       "12000100000001"}}},
    {"a course key the level table lacks",
     {{"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}, {"6009", "2º FP"}}}},
     {{EntryKind::kUnknownCourseKey, "CURSOS_DEL_CENTRO", 2, "6009", "2º FP", "CURSOST.NIVEL",
       "Niv"}}},
    {"a group whose course is not there",
     {{"UNIDADES", {{"9101", "1º ESO A", "6001"}, {"9301", "3º ESO A", "6003"}}}},
     {{EntryKind::kGroupWithoutCourse, "UNIDADES", 2, "9301", "3º ESO A", "GRUPOST.CLAVECURSO",
       "6003"}}},
    {"a subject whose course has no group",
     {{"MATERIAS", {{"6001", "120001", "Lengua"}, {"6002", "120201", "Física"}}}},
     {{EntryKind::kLoadWithoutGroups, "MATERIAS", 2, "120201", "Física", "GRUPOST.CLAVECURSO",
       "6002"}}},
    {"a frame not chosen and its slot",
     {{"JORNADAS_ESCOLARES",
       {{"1", "Mañana", "01/09/2026", "30/06/2027"}, {"2", "Tarde", "01/09/2026", "30/06/2027"}}},
      {"TRAMOS_HORARIOS", {{"11", "1a", "480", "535", "1"}, {"21", "1t", "930", "985", "2"}}}},
     {{EntryKind::kSlotLeftOut, "TRAMOS_HORARIOS", 2, "21", "1t", "MARCOXML", "2"},
      {EntryKind::kFrameNotChosen, "JORNADAS_ESCOLARES", 2, "2", "Tarde", "", ""}},
     {"1"}},
};

class ExportEntries : public ExportTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ExportEntries, NameTheRecordAndWhatBecameOfIt) {
  const Case& c = GetParam();
  if (!c.frame_answer.empty()) {
    ui_.frame_answers.push_back({FrameChoice::Kind::kAccepted, c.frame_answer});
  }
  const RunReport report = Export(SchoolWith(c.changed));
  ASSERT_EQ(report.outcome, RunOutcome::kFinished) << ::testing::PrintToString(ui_.errors);
  std::vector<Expected> entries;
  for (const ReportEntry& e : report.entries) {
    EXPECT_FALSE(e.reason.empty());
    if (e.kind == EntryKind::kFirstExport) continue;  // every case is a first export
    entries.push_back({e.kind, e.block, e.record, e.key, e.name, e.field, e.value});
  }
  std::vector<Expected> expected;
  for (const Expected& e : c.expected) {
    expected.push_back({e.kind, e.block, e.record, L(e.key), L(e.name), e.field, L(e.value)});
  }
  EXPECT_EQ(entries, expected);
}

INSTANTIATE_TEST_SUITE_P(OneSchoolPerKind, ExportEntries, ::testing::ValuesIn(kCases));

TEST_F(ExportTest, AFailedRunStillTellsWhatItHadDecided) {
  const RunReport report = Export(SchoolWith({
      {"EMPLEADOS", {{"7"}, {"1", "01/09/2008", "Lengua", "García", "Martín", "José"}}},
      {"CURSOS_DEL_CENTRO", {{"12a", "1º ESO"}}},
  }));
  ASSERT_EQ(report.outcome, RunOutcome::kFailed);
  ASSERT_EQ(report.entries.size(), 1u);
  EXPECT_EQ(report.entries[0].kind, EntryKind::kSkippedRecord);
  EXPECT_TRUE(report.counts.empty()) << "no table was written";
}

}  // namespace
}  // namespace tv::testing_export
