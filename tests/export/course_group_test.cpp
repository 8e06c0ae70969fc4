// The course and group tables: levels from the level table, group codes in their stored
// form, and each group's values from its course row.
#include "export_fixture.h"

namespace tv::testing_export {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Cp1252(const Rows& rows) {
  Rows out;
  for (const auto& row : rows) {
    out.emplace_back();
    for (const std::string& text : row) out.back().push_back(L(text));
  }
  return out;
}

const Block kCourses{"CURSOS_DEL_CENTRO",
                     {
                         {"6001", "1º ESO"},          // in the level table
                         {"6002", "2 Bachillerato"},  // empty level there: "Niv"
                         {"6003", "x"},               // empty study there: empty ESTUD
                         {"6009", "Curso libre"},     // not there: "Niv" and its own name
                         {" 6010 ", ""},              // an empty name: empty CURSO
                         {"6011"},                    // a single field: skipped
                     }};

const Block kGroups{"UNIDADES",
                    {
                        {"9101", "1 ESO A", "6001"},
                        {"9102", "1 Bachillerato Ciencias A", "6003"},
                        {"9103", "1 Bachillerato Sociales A", "6003"},
                        {"9104", "3A", "6002"},
                        {"9105", "3A", "6002"},
                        {"9106", "3a", "6009"},
                        {"9107", "B", "9999"},  // no such course
                        {"9108", "Sin curso"},  // no course key at all
                        {"9109"},               // a single field: skipped
                    }};

class CourseGroupTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    WriteLevelTable({{6001, "ESO", "Secundaria"},
                     {6002, "", "Sin nivel"},
                     {6003, "BACH", ""},
                     {6001, "OTRO", "Second row of a key: not used"}});
  }
};

TEST_F(CourseGroupTest, CoursesTakeLevelAndStudyFromTheLevelTable) {
  ASSERT_EQ(Export({kCourses, kGroups, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ReadRows("CURSOST", {"ABREV", "TURNO", "NIVEL", "CURSO", "CLAVE", "ESTUD"}),
            Cp1252({
                {"", "", "ESO", "1", "6001", "Secundaria"},
                {"", "", "Niv", "2", "6002", "Sin nivel"},
                {"", "", "BACH", "x", "6003", ""},
                {"", "", "Niv", "C", "6009", "Curso libre"},
                {"", "", "Niv", "", "6010", ""},
            }));
}

TEST_F(CourseGroupTest, GroupsTakeTheirCourseRowAndAUniqueCode) {
  ASSERT_EQ(Export({kCourses, kGroups, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ReadRows("GRUPOST", {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "DESCRIP", "MARCO",
                                 "CLAVE", "CLAVECURSO"}),
            Cp1252({
                {"1 ESO A", "", "ESO", "1", "A", "Secundaria", "0", "9101", "6001"},
                {"1 Bachil A", "", "BACH", "x", "A", " BACH x A", "0", "9102", "6003"},
                {"1 BachilA1", "", "BACH", "x", "A", " BACH x A", "0", "9103", "6003"},
                {"3A", "", "Niv", "2", "A", "Sin nivel", "0", "9104", "6002"},
                {"3A1", "", "Niv", "2", "A", "Sin nivel", "0", "9105", "6002"},
                {"3a2", "", "Niv", "C", "a", "Curso libre", "0", "9106", "6009"},
                {"B", "", "", "", "B", "   B", "0", "9107", "9999"},
                {"Sin curso", "", "", "", "o", "   o", "0", "9108", ""},
            }));
}

TEST_F(CourseGroupTest, ALevelTableWithNamesCutToTenIsReadToo) {
  WriteLevelTable({{6001, "ESO", "Secundaria"}}, "X_OFERTAMA", "NIVEL_ABRE");
  ASSERT_EQ(Export({kCourses, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ReadRows("CURSOST", {"NIVEL", "ESTUD"})[0],
            (std::vector<std::string>{"ESO", "Secundaria"}));
}

TEST_F(CourseGroupTest, CourseKeysMustBeWholeNumbersOf32Bits) {
  for (const std::string key : {"12a", "99999999999", "", "6 001"}) {
    ui_.errors.clear();
    const Block courses{"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}, {key, "Malo"}}};
    EXPECT_EQ(Export({courses, OneFrame(), OneSlot()}).outcome, RunOutcome::kFailed) << key;
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0], "'" + key + "' no es un valor entero v\xE1lido" +
                                 " (bloque CURSOS_DEL_CENTRO, registro 2)");
  }
}

TEST_F(CourseGroupTest, TooManyGroupsOfOneLongNameEndTheRunNamingTheGroup) {
  Block groups{"UNIDADES", {}};
  for (int i = 0; i < 111; ++i) groups.records.push_back({"1", "1 Bachillerato A", "6001"});
  EXPECT_EQ(Export({kCourses, groups, OneFrame(), OneSlot()}).outcome, RunOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("'1 Bachillerato A'"), std::string::npos) << ui_.errors[0];
  EXPECT_NE(ui_.errors[0].find("bloque UNIDADES, registro 111"), std::string::npos);
}

}  // namespace
}  // namespace tv::testing_export
