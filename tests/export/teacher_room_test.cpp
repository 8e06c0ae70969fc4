// The teacher and room tables: codes unique regardless of letter case and trailing
// blanks, numbered candidates, and the values each row carries.
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

TEST_F(ExportTest, TeacherCodesAreInitialsMadeUniqueIgnoringCaseAndTrailingBlanks) {
  const std::string long_name(90, 'x');
  const Block teachers{
      "EMPLEADOS",
      {
          {"1", "01/09/2008", "Lengua", "García", "Martín", "José"},
          {"2", "02/09/2009", "Lengua", "Gómez", "Muñoz", "Juana"},
          {"3", "03/09/2010", "Inglés", "Gil", "Mora", "Jaime"},
          {"4", "", "", "gil", "mora", "julia"},     // taken as GMJ: the next free one
          {"5", "", "", "Ruiz", "", "Ana"},          // empty middle part
          {"6", "", "", " Vega", "Ortiz", "Luis"},   // a leading blank counts
          {"7", "", "", "Vidal", "Ortega", " ana"},  // 'VO ' is stored as 'VO'...
          {"8", "", "", "Vera", "Olmo", ""},         // ... so this one is 'VO1'
          {"14", "", "", "Vaz", "Oro", " eva"},      // 'VO ' is taken: 'VO ' numbered
          {"9", "", "", "", "", ""},                 // no initials at all
          {"10", "", "", "", "", ""},
          {"11"},                            // a single field: no row, no code
          {"12345678901", "x", "y", "Paz"},  // missing positions read as empty
          {"13", "", "", long_name, "B", "C"},
      }};
  ASSERT_EQ(Export({teachers, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  const Rows expected = Cp1252({
      {"GMJ", "García Martín, José", "Lengua", "", "", "1", "01/09/2008"},
      {"GMJ1", "Gómez Muñoz, Juana", "Lengua", "", "", "2", "02/09/2009"},
      {"GMJ2", "Gil Mora, Jaime", "Inglés", "", "", "3", "03/09/2010"},
      {"gmj3", "gil mora, julia", "", "", "", "4", ""},
      {"RA", "Ruiz , Ana", "", "", "", "5", ""},
      {" OL", "Vega Ortiz, Luis", "", "", "", "6", ""},
      {"VO", "Vidal Ortega, ana", "", "", "", "7", ""},
      // Character fields keep no trailing blanks: 'Vera Olmo, ' reads 'Vera Olmo,'.
      {"VO1", "Vera Olmo,", "", "", "", "8", ""},
      {"VO 1", "Vaz Oro, eva", "", "", "", "14", ""},
      {"", " ,", "", "", "", "9", ""},
      {"1", " ,", "", "", "", "10", ""},
      {"P", "Paz ,", "y", "", "", "1234567890", "x"},
      {"xBC", (long_name + " B, C").substr(0, 80), "", "", "", "13", ""},
  });
  EXPECT_EQ(
      ReadRows("PROFT", {"ABREV", "NOMBRE", "DEPART", "EMAIL", "DNI", "X_EMPLEADO", "F_TOMAPOS"}),
      expected);
}

TEST_F(ExportTest, RoomCodesAreKeysOrNameStartsMadeUniqueInTheirStoredForm) {
  const Block rooms{"DEPENDENCIAS",
                    {
                        {"A01", "Aula 1"},
                        {"A01", "Aula 1 bis"},
                        {"A01", "Aula 1 ter"},
                        {"a01", "Aula 1 min"},  // ignoring case: taken
                        {"", "Laboratorio 2"},  // no key: the name's first six
                        {"", "Laboratorio 3"},
                        {"", ""},
                        {"", ""},
                        {" B07 ", "Biblioteca", "extra"},
                        {"ABCDEFGHIJ", "Diez"},       // ten characters: as they are
                        {"ABCDEFGHIJ", "Diez bis"},   // the candidate in its stored form
                        {"ABCDEFGHIJKL", "Doce"},     // longer: first 8 and last 2
                        {"", "Sala  de profesores"},  // 'Sala  ' is stored as 'Sala'
                        {"Sala", "Sala"},
                        {"solo"},
                    }};
  ASSERT_EQ(Export({rooms, OneFrame(), OneSlot()}).outcome, RunOutcome::kFinished);
  const Rows expected = {
      {"A01", "Aula 1", "", "", ""},
      {"A011", "Aula 1 bis", "", "", ""},
      {"A012", "Aula 1 ter", "", "", ""},
      {"a013", "Aula 1 min", "", "", ""},
      {"Labora", "Laboratorio 2", "", "", ""},
      {"Labora1", "Laboratorio 3", "", "", ""},
      {"", "", "", "", ""},
      {"1", "", "", "", ""},
      {"B07", "Biblioteca", "", "", ""},
      {"ABCDEFGHIJ", "Diez", "", "", ""},
      {"ABCDEFGHJ1", "Diez bis", "", "", ""},
      {"ABCDEFGHKL", "Doce", "", "", ""},
      {"Sala", "Sala  de profesores", "", "", ""},
      {"Sala1", "Sala", "", "", ""},
  };
  EXPECT_EQ(ReadRows("AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"}), expected);
}

}  // namespace
}  // namespace tv::testing_export
