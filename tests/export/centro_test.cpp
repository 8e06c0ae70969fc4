// The sample school, end to end: examples/centro.xml with the sample level table, both
// frames chosen, against rows written out by hand.
#include <fstream>
#include <sstream>

#include "export/export_run.h"
#include "export_fixture.h"
#include "util/cp1252.h"

namespace tv::testing_export {
namespace {

namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

class CentroTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    fs::copy_file(fs::path(TV_BINARY_DIR) / "bin" / "NIVELEX.DBF",
                  folders_.program_folder / "NIVELEX.DBF", fs::copy_options::overwrite_existing);
    ui_.file = fs::path(TV_SOURCE_DIR) / "examples" / "centro.xml";
    ui_.frame_answers = {{FrameChoice::Kind::kAccepted, {"501", "502"}}};
    report_ = RunExport(folders_, ui_, selected_);
    ASSERT_EQ(report_.outcome, RunOutcome::kFinished) << (ui_.errors.empty() ? "" : ui_.errors[0]);
  }

  // The rows at these positions (0-based), each as the named fields, in UTF-8.
  Rows RowsAt(const std::string& table, const std::vector<std::string>& fields,
              const std::vector<std::size_t>& positions) const {
    const Rows all = ReadRows(table, fields);
    Rows picked;
    for (std::size_t position : positions) {
      if (position >= all.size()) {
        picked.push_back({"<no row " + std::to_string(position) + ">"});
        continue;
      }
      picked.emplace_back();
      for (const std::string& text : all[position]) picked.back().push_back(Cp1252ToUtf8(text));
    }
    return picked;
  }

  RunReport report_;
};

TEST_F(CentroTest, SubjectsAndActivities) {
  EXPECT_EQ(RowsAt("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"},
                   {0, 1, 2, 3, 5, 8, 9}),
            (Rows{
                {"LCL", "Lengua Cas", "Lengua Castellana y Literatura", "", "F"},
                {"Matemá", "Matemá", "Matemáticas", "", "F"},
                {"Inglés", "Inglés", "Inglés", "", "F"},
                {"GH", "Geografía", "Geografía e Historia", "", "F"},
                {"EF", "Educación", "Educación Física", "", "F"},
                {"FQ", "Física y Q", "Física y Química", "", "F"},
                {"EPVA", "Educación", "Educación Plástica, Visual y Audiovisual", "", "F"},
            }));
  const Rows all = ReadRows("ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"});
  ASSERT_GE(all.size(), 5u);
  EXPECT_EQ(Rows(all.end() - 5, all.end() - 3),
            (Rows{{"GUAR", "Guardia", "Guardia", "GUAR", "T"},
                  {"TUT", L("Tutoría"), L("Tutoría con alumnos"), "TUT", "T"}}));
}

TEST_F(CentroTest, TeachersAndRooms) {
  EXPECT_EQ(
      RowsAt("PROFT", {"ABREV", "NOMBRE", "DEPART", "X_EMPLEADO", "F_TOMAPOS"}, {0, 3, 4}),
      (Rows{
          {"GMJ", "García Martín, José", "Lengua Castellana y Literatura", "2045100", "01/09/2008"},
          {"GMJ1", "Gómez Muñoz, Juana", "Matemáticas", "2045211", "04/09/2011"},
          {"FOÍ", "Fernández Ortega, Íñigo", "Matemáticas", "2045248", "05/09/2012"},
      }));
  EXPECT_EQ(RowsAt("AULAT", {"ABREV", "NOMBRE"}, {6, 7, 10, 11, 12}),
            (Rows{{"A12", "Aula 2.12"},
                  {"A121", "Aula 2.12 (desdoble)"},
                  {"Labora", "Laboratorio de Física"},
                  {"Labora1", "Laboratorio de Química"},
                  {"Gimnas", "Gimnasio"}}));
}

TEST_F(CentroTest, CoursesAndGroups) {
  EXPECT_EQ(RowsAt("CURSOST", {"NIVEL", "CURSO", "CLAVE", "ESTUD"}, {0, 4, 6}),
            (Rows{{"ESO", "1", "6001", "Educación Secundaria Obligatoria (1º)"},
                  {"BACH", "1", "6005", "Bachillerato (1º)"},
                  {"Niv", "1", "6007", "1º CFGM Gestión Administrativa"}}));
  EXPECT_EQ(RowsAt("GRUPOST",
                   {"ABREV", "NIVEL", "CURSO", "GRUPO", "DESCRIP", "MARCO", "CLAVE", "CLAVECURSO"},
                   {0, 8, 9, 12}),
            (Rows{
                {"1º ESO A", "ESO", "1", "A", "Educación Secundaria Obligatoria (1º)", "0", "9101",
                 "6001"},
                {"1º Bachi A", "BACH", "1", "A", "Bachillerato (1º)", "0", "9109", "6005"},
                {"1º Bachi B", "BACH", "1", "B", "Bachillerato (1º)", "0", "9110", "6005"},
                {"1º GA A", "Niv", "1", "A", "1º CFGM Gestión Administrativa", "0", "9113", "6007"},
            }));
}

TEST_F(CentroTest, TeachingLoads) {
  EXPECT_EQ(RowsAt("ASIGT",
                   {"CASIG", "CGRUP", "NIVEL", "CURSO", "GRUPO", "HORAS", "SESIONES", "CLAVE",
                    "CLAVECURSO", "CTAREA"},
                   {0, 1, 2}),
            (Rows{
                {"LCL", "1º ESO A", "ESO", "1", "A", "4", "1111", "120001", "6001", "1"},
                {"LCL", "1º ESO B", "ESO", "1", "B", "4", "1111", "120001", "6001", "1"},
                {"Matemá", "1º ESO A", "ESO", "1", "A", "4", "1111", "120002", "6001", "1"},
            }));
}

TEST_F(CentroTest, TimeSlotsOfBothFrames) {
  const std::vector<std::string> fields = {"DIHO",     "CODDIHO",   "DIA",       "HORA",
                                           "TEXTOHOR", "HORADESDE", "HORAHASTA", "MINUTOS",
                                           "MARCO",    "MARCOXML"};
  EXPECT_EQ(RowsAt("DIASHORAST", fields, {0, 7, 90}),
            (Rows{
                {"11", "5011", "1", "1", "1ª hora", "08:15", "09:10", "55", "0", "501"},
                {"11", "5021", "1", "1", "1ª tarde", "15:30", "16:25", "55", "1", "502"},
                {"76", "5026", "7", "6", "5ª tarde", "19:30", "20:25", "55", "1", "502"},
            }));
  EXPECT_EQ(ReadRows("DIASHORAST", {"DIHO"}).size(), 91u);
  EXPECT_EQ(RowsAt("PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}, {0, 1}),
            (Rows{{"501", "Jornada de mañana", "01/09/2026", "30/06/2027"},
                  {"502", "Jornada de tarde", "01/09/2026", "30/06/2027"}}));
}

}  // namespace
}  // namespace tv::testing_export
