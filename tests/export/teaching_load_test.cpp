// The teaching-load table: one load per subject and group of its course, the subject's
// code found by name as the subject table holds it.
#include "export_fixture.h"

namespace tv::testing_export {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST_F(ExportTest, LoadsPairEachSubjectWithTheGroupsOfItsCourse) {
  const std::string long_name = std::string(80, 'q') + " y algo";
  const Block subjects{"MATERIAS",
                       {
                           {"6001", "S1", "LENGUA"},
                           {"6002", "S2", "Lengua"},  // same code as the first: 'LENGUA'
                           {"6001", "S3", "Educación"},
                           {"6001", "S4", "EDUCACIÓN"},  // its own row: 'ó' is not folded
                           {"6009", "S5", "Música"},     // a course without groups
                           {"6002", "S6", long_name},    // matched by its first 80
                           {"6002", "S7", "Lengua"},     // repeated: loads again
                           {"6001", "S8", ""},           // no name, no subject row
                           {"6001"},
                       }};
  const Block courses{"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}, {"6002", "2º ESO"}}};
  const Block groups{"UNIDADES",
                     {
                         {"9101", "1A", "6001"},
                         {"9201", "2A", "6002"},
                         {"9102", "1B", "6001"},
                         {"9103", "1C", "6001"},
                     }};
  ASSERT_EQ(Export({subjects, courses, groups, OneFrame(), OneSlot()}).outcome,
            RunOutcome::kFinished);
  ASSERT_EQ(Column("ASIGNOMT", "COD")[0], "LENGUA");
  const Rows expected = {
      {"LENGUA", "1A", "ESO", "1", "A", "S1", "6001"},
      {"LENGUA", "1B", "ESO", "1", "B", "S1", "6001"},
      {"LENGUA", "1C", "ESO", "1", "C", "S1", "6001"},
      {"LENGUA", "2A", "Niv", "2", "A", "S2", "6002"},
      {"Educac", "1A", "ESO", "1", "A", "S3", "6001"},
      {"Educac", "1B", "ESO", "1", "B", "S3", "6001"},
      {"Educac", "1C", "ESO", "1", "C", "S3", "6001"},
      {"EDUCACIN", "1A", "ESO", "1", "A", "S4", "6001"},
      {"EDUCACIN", "1B", "ESO", "1", "B", "S4", "6001"},
      {"EDUCACIN", "1C", "ESO", "1", "C", "S4", "6001"},
      {"qya", "2A", "Niv", "2", "A", "S6", "6002"},
      {"LENGUA", "2A", "Niv", "2", "A", "S7", "6002"},
  };
  Rows want;
  for (const auto& row : expected) {
    want.emplace_back();
    for (const std::string& text : row) want.back().push_back(L(text));
  }
  EXPECT_EQ(ReadRows("ASIGT", {"CASIG", "CGRUP", "NIVEL", "CURSO", "GRUPO", "CLAVE", "CLAVECURSO"}),
            want);
  for (const auto& row :
       ReadRows("ASIGT", {"CPROF", "CAULA", "TURNO", "HORAS", "SESIONES", "NCONEX", "CTAREA"})) {
    EXPECT_EQ(row, (std::vector<std::string>{"", "", "", "4", "1111", "", "1"}));
  }
}

}  // namespace
}  // namespace tv::testing_export
