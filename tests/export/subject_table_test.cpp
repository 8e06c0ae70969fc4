// The subject table: codes made up from names, unique among subjects; activities after.
#include "export_fixture.h"

namespace tv::testing_export {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST_F(ExportTest, SubjectCodesFollowTheNameRulesAndActivitiesFollowTheSubjects) {
  const std::vector<std::string> names = {
      "Matemáticas",
      "Lengua Castellana y Literatura",
      "Lengua castellana",
      "inglés",
      "  Física y Química ",
      "MATEMATICAS APLICADAS",
      "Ciencias Sociales",
      "Cultura Sueca",
      "Cálculo Simbólico",
      "LENGUA CASTELLANA I",
      "LENGUA CASTELLANA II",
      "LENGUA CASTELLANA III",
      "Dibujo",
      "DIBUJO",     // the same name once upper-cased: left out
      "Educación",  // 'ó' is not upper-cased, so the next one is another name
      "EDUCACIÓN",
      "   ",  // no name: left out, uses no code
  };
  Block subjects{"MATERIAS", {}};
  for (const std::string& name : names) subjects.records.push_back({"6001", "1", name});
  subjects.records.push_back({"6001"});  // a single field: skipped
  const Block activities{"ACTIVIDADES",
                         {{"T", "BIBL", "Biblioteca"}, {"T", "LCL", "Lectura"}, {"T"}}};
  ASSERT_EQ(Export({subjects, activities, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);

  const Rows expected = {
      {"Matemá", "Matemá", "Matemáticas", "", "", "F"},
      {"LCL", "Lengua Cas", "Lengua Castellana y Literatura", "", "", "F"},
      {"Lc", "Lengua cas", "Lengua castellana", "", "", "F"},
      {"inglés", "inglés", "inglés", "", "", "F"},
      {"FQ", "Física y Q", "Física y Química", "", "", "F"},
      {"MATEMATICA", "MATEMATICA", "MATEMATICAS APLICADAS", "", "", "F"},
      {"CS", "Ciencias S", "Ciencias Sociales", "", "", "F"},
      {"CS1", "Cultura Su", "Cultura Sueca", "", "", "F"},
      {"CS2", "Cálculo Si", "Cálculo Simbólico", "", "", "F"},
      {"LENGUACAST", "LENGUACAST", "LENGUA CASTELLANA I", "", "", "F"},
      {"LENGUACAT1", "LENGUACAST", "LENGUA CASTELLANA II", "", "", "F"},
      {"LENGUACAT2", "LENGUACAST", "LENGUA CASTELLANA III", "", "", "F"},
      {"Dibujo", "Dibujo", "Dibujo", "", "", "F"},
      {"Educac", "Educac", "Educación", "", "", "F"},
      {"EDUCACIN", "EDUCACIN", "EDUCACIÓN", "", "", "F"},
      {"BIBL", "Bibliote", "Biblioteca", "", "BIBL", "T"},
      {"LCL", "Lectura", "Lectura", "", "LCL", "T"},  // activities may repeat a code
  };
  Rows want;
  for (const auto& row : expected) {
    want.emplace_back();
    for (const std::string& text : row) want.back().push_back(L(text));
  }
  EXPECT_EQ(ReadRows("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "MATERIA", "CODTAREA", "ESTAREA"}),
            want);
}

TEST_F(ExportTest, SubjectCodesAreComparedWithLetterCase) {
  // UsedCodes is case-sensitive: 'cS' does not take 'CS'.
  const Block subjects{"MATERIAS",
                       {{"6001", "1", "Ciencias Sociales"},
                        {"6001", "2", "cS"},
                        {"6001", "3", "Cultura Sueca"},
                        {"6001", "4", "Cocina Sana"}}};
  ASSERT_EQ(Export({subjects, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(Column("ASIGNOMT", "COD"), (std::vector<std::string>{"CS", "cS", "CS1", "CS2"}));
}

TEST_F(ExportTest, TooManySubjectsOfOneLongCodeEndTheRunNamingTheSubject) {
  // A base of ten characters has 109 numbered candidates: the 111th subject has none left.
  Block subjects{"MATERIAS", {}};
  for (int i = 0; i < 111; ++i) {
    subjects.records.push_back({"6001", "1", "MATEMATICAS APLICADAS " + std::to_string(i)});
  }
  const RunReport report = Export({subjects, OneFrame(), OneSlot()});
  EXPECT_EQ(report.outcome, RunOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("MATEMATICAS APLICADAS 110"), std::string::npos) << ui_.errors[0];
  EXPECT_NE(ui_.errors[0].find("registro 111"), std::string::npos) << ui_.errors[0];
}

}  // namespace
}  // namespace tv::testing_export
