#include "import/import_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "exchange/xml_document.h"
#include "import_fixture.h"
#include "worktables/table.h"

namespace tv::testing {
namespace {

namespace fs = std::filesystem;

const char* const kInput =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- exportado por Ortelia -->\n"
    "<SERVICIO modulo=\"ORTELIA\" tipo=\"E\">\n"
    "  <BLOQUE_DATOS>\n"
    "    <grupo_datos seq=\"ANNO\"><dato>202627</dato></grupo_datos>\n"
    "    <grupo_datos seq=\"EMPLEADOS\"/>\n"
    "  </BLOQUE_DATOS>\n"
    "</SERVICIO>\n"
    "<!-- fin -->\n";

// A small school whose solution holds every case the schedule assembly must get right.
class ImportRun : public ::testing::Test {
 protected:
  void SetUp() override {
    work = temp.Path() / "QTEMP";
    fs::create_directories(work);
    input = temp.Path() / "centro.xml";
    WriteFile(input, kInput);
    WriteTable(work, Proft({
                         {"GMJ", "Gil Mora, Juan", "E1", "P1"},
                         {"SIN", "Sin Lecciones, Ana", "E2", "P2"},
                         {"AB", "Alba Bravo, ", "E3", "P3"},
                         {"AB", "Alba Blanco, ", "E4", "P4"},
                         {"gmj", "gil mora, jose", "E5", "P5"},
                     }));
    WriteTable(work, Asigt({
                         {"MAT", "1A", "M1", "C1"},
                         {"MAT", "1A", "M9", "C9"},  // later duplicate: never used
                         {"LEN", "1A", "L1", "C1"},
                         {"MAT", "2A", "M2", "C2"},
                     }));
    WriteTable(work, Asignomt({
                         {"MAT", "Matem\xE1ticas", "", "F"},
                         {"LEN", "Lengua", "LT", "F"},
                         {"BIBL", "Biblioteca", "BIBL", "T"},
                         {"LEN", "Lengua bis", "LX", "F"},  // later duplicate
                     }));
    WriteTable(work, Diashorast({
                         {"11", "T1", "1", "1", "08:00", "08:55", "0", "M"},
                         {"11", "T9", "1", "1", "16:00", "16:55", "1", "T"},
                         {"12", "T2", "1", "2", "08:55", "09:50", "0", "M"},
                         {"11", "TX", "1", "1", "09:00", "10:00", "0", "M"},  // duplicate
                         {"21", "T3", "2", "1", "8:30", "9:30", "0", "M"},
                         {"31", "TB", "3", "1", "8:3", "9:30", "0", "M"},  // no lesson takes it
                     }));
    WriteTable(work, Grupost({{"1A", "G1"}, {"2A", "G2"}, {"1A", "G9"}}));
    WriteTable(work, Periodos({{"M",
                                "Ma\xF1"
                                "ana",
                                "01/09/2026", "30/06/2027"},
                               {"T", "Tarde", "02/09/2026", "29/06/2027"}}));
    WriteTable(work, Cursost());
    WriteTable(work, Aulat());
    WriteTable(work, Soluc({
                         {"GMJ", "1", "1", "0", "MAT", "1A", "", "A01"},
                         {"GMJ", "0", "0", "", "MAT", "1A", "", "A01"},  // not placed
                         {"GMJ", "1", "1", "1", "MAT", "2A", "", ""},
                         {"AB", "1", "2", "0", "LEN", "1A", "", "   "},
                         {"AB", "2", "1", "0", "LEN", "3B", "GUARD", "A02"},
                         {"AB", "3", "5", "0", "XYZ", "1A", "", "A03"},
                         {"ZZZ", "1", "1", "0", "MAT", "1A", "", "A01"},  // no such teacher
                         {"GMJ", "2", "1", "0", "BIBL", "", "", ""},
                     }));
    ui.answer = input;
  }

  RunReport Run() { return RunImport(RunFolders{work, temp.Path()}, ui, selected); }
  fs::path Output() const { return temp.Path() / "ResultadoVelorcentro.xml"; }

  TempFolder temp;
  fs::path work;
  fs::path input;
  fs::path selected;
  RecordingUi ui;
};

TEST_F(ImportRun, MapsEveryLessonBackToTheKeysOfTheWorkTables) {
  const RunReport report = Run();
  ASSERT_EQ(report.outcome, RunOutcome::kFinished) << (ui.errors.empty() ? "" : ui.errors[0]);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Proceso finalizado"});
  EXPECT_EQ(report.output_file, Output());
  EXPECT_EQ(selected, input);

  const auto teachers = ReadSchedule(xml::Document::Load(Output()));
  ASSERT_EQ(teachers.size(), 5u);
  const struct {
    std::string seq, registros, employee, post;
  } expected_teachers[] = {
      {"HORARIO_REGULAR_PROFESOR_1", "3", "E1", "P1"},
      {"HORARIO_REGULAR_PROFESOR_2", "0", "E2", "P2"},
      {"HORARIO_REGULAR_PROFESOR_3", "3", "E3", "P3"},
      {"HORARIO_REGULAR_PROFESOR_4", "3", "E4", "P4"},
      {"HORARIO_REGULAR_PROFESOR_5", "0", "E5", "P5"},  // codes are case-sensitive
  };
  for (std::size_t t = 0; t < teachers.size(); ++t) {
    EXPECT_EQ(teachers[t].seq, expected_teachers[t].seq);
    EXPECT_EQ(teachers[t].registros, expected_teachers[t].registros) << teachers[t].seq;
    EXPECT_EQ(teachers[t].employee, expected_teachers[t].employee);
    EXPECT_EQ(teachers[t].post, expected_teachers[t].post);
    EXPECT_EQ(std::to_string(teachers[t].lessons.size()), teachers[t].registros);
  }

  // seq, then the eleven fields in their order.
  const std::vector<Lesson> gmj = {
      // Frame 0's slot 11; the first teaching load and group of their codes; MAT has no
      // activity code, so "1".
      {{"seq", "ACTIVIDAD_1"},
       {"N_DIASEMANA", "1"},
       {"X_TRAMO", "T1"},
       {"X_DEPENDENCIA", "A01"},
       {"X_UNIDAD", "G1"},
       {"X_OFERTAMATRIG", "C1"},
       {"X_MATERIAOMG", "M1"},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "480"},
       {"N_HORFIN", "535"},
       {"X_ACTIVIDAD", "1"}},
      // The same slot key in frame 1; no room.
      {{"seq", "ACTIVIDAD_2"},
       {"N_DIASEMANA", "1"},
       {"X_TRAMO", "T9"},
       {"X_DEPENDENCIA", ""},
       {"X_UNIDAD", "G2"},
       {"X_OFERTAMATRIG", "C2"},
       {"X_MATERIAOMG", "M2"},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "960"},
       {"N_HORFIN", "1015"},
       {"X_ACTIVIDAD", "1"}},
      // An activity: blank TAREA takes its CODTAREA; no group, no teaching load.
      {{"seq", "ACTIVIDAD_3"},
       {"N_DIASEMANA", "2"},
       {"X_TRAMO", "T3"},
       {"X_DEPENDENCIA", ""},
       {"X_UNIDAD", ""},
       {"X_OFERTAMATRIG", ""},
       {"X_MATERIAOMG", ""},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "510"},
       {"N_HORFIN", "570"},
       {"X_ACTIVIDAD", "BIBL"}},
  };
  const std::vector<Lesson> ab = {
      // Blank AULA; blank TAREA takes the subject's first CODTAREA.
      {{"seq", "ACTIVIDAD_1"},
       {"N_DIASEMANA", "1"},
       {"X_TRAMO", "T2"},
       {"X_DEPENDENCIA", ""},
       {"X_UNIDAD", "G1"},
       {"X_OFERTAMATRIG", "C1"},
       {"X_MATERIAOMG", "L1"},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "535"},
       {"N_HORFIN", "590"},
       {"X_ACTIVIDAD", "LT"}},
      // Unknown group: no group key and no teaching load, nothing carried over from the
      // lesson before; a written TAREA wins over the subject's.
      {{"seq", "ACTIVIDAD_2"},
       {"N_DIASEMANA", "2"},
       {"X_TRAMO", "T3"},
       {"X_DEPENDENCIA", "A02"},
       {"X_UNIDAD", ""},
       {"X_OFERTAMATRIG", ""},
       {"X_MATERIAOMG", ""},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "510"},
       {"N_HORFIN", "570"},
       {"X_ACTIVIDAD", "GUARD"}},
      // No slot row for day 3, hour 5; a subject missing from ASIGNOMT.
      {{"seq", "ACTIVIDAD_3"},
       {"N_DIASEMANA", ""},
       {"X_TRAMO", ""},
       {"X_DEPENDENCIA", "A03"},
       {"X_UNIDAD", "G1"},
       {"X_OFERTAMATRIG", ""},
       {"X_MATERIAOMG", ""},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "0"},
       {"N_HORFIN", "0"},
       {"X_ACTIVIDAD", "1"}},
  };
  EXPECT_EQ(teachers[0].lessons, gmj);
  EXPECT_EQ(teachers[2].lessons, ab);
  EXPECT_EQ(teachers[3].lessons, ab);  // two teachers with one code both get its lessons

  const std::vector<std::pair<std::string, std::size_t>> counts = {
      {"profesores", 5},
      {"lecciones", 9},
      {"lecciones sin tramo horario", 2},
      {"lecciones sin carga lectiva", 5},
      {"lecciones sin grupo", 3},
      {"lecciones de profesores desconocidos", 1},
      {"filas sin colocar (DIA 0)", 1},
  };
  EXPECT_EQ(report.counts, counts);
}

TEST_F(ImportRun, ReportsEveryKeyALessonCouldNotMapBackAndWhoseLessonsAreMissing) {
  const RunReport report = Run();
  ASSERT_EQ(report.outcome, RunOutcome::kFinished);
  using K = EntryKind;
  struct Expected {
    EntryKind kind;
    std::string table;
    std::size_t teacher_row;
    std::string teacher_key;
    std::string field;
    std::string value;
    bool operator==(const Expected&) const = default;
  };
  const std::vector<Expected> expected = {
      {K::kUnplacedRow, "SOLUC", 1, "E1", "PROF", "GMJ"},
      {K::kUnmappedKey, "ASIGT", 1, "E1", "CASIG/CGRUP", "BIBL/"},
      {K::kUnmappedKey, "GRUPOST", 1, "E1", "ABREV", ""},
      {K::kTeacherWithoutLessons, "PROFT", 2, "E2", "ABREV", "SIN"},
      {K::kUnmappedKey, "ASIGT", 3, "E3", "CASIG/CGRUP", "LEN/3B"},
      {K::kUnmappedKey, "GRUPOST", 3, "E3", "ABREV", "3B"},
      {K::kUnmappedKey, "ASIGT", 3, "E3", "CASIG/CGRUP", "XYZ/1A"},
      {K::kUnmappedKey, "ASIGNOMT", 3, "E3", "COD", "XYZ"},
      {K::kUnmappedKey, "DIASHORAST", 3, "E3", "DIHO/MARCO", "35/0"},
      {K::kUnmappedKey, "ASIGT", 4, "E4", "CASIG/CGRUP", "LEN/3B"},
      {K::kUnmappedKey, "GRUPOST", 4, "E4", "ABREV", "3B"},
      {K::kUnmappedKey, "ASIGT", 4, "E4", "CASIG/CGRUP", "XYZ/1A"},
      {K::kUnmappedKey, "ASIGNOMT", 4, "E4", "COD", "XYZ"},
      {K::kUnmappedKey, "DIASHORAST", 4, "E4", "DIHO/MARCO", "35/0"},
      {K::kTeacherWithoutLessons, "PROFT", 5, "E5", "ABREV", "gmj"},
      {K::kUnknownTeacherRows, "SOLUC", 0, "ZZZ", "PROF", "1"},
  };
  std::vector<Expected> entries;
  for (const ReportEntry& e : report.entries) {
    entries.push_back({e.kind, e.block, e.record, e.key, e.field, e.value});
  }
  EXPECT_EQ(entries, expected);
  // A lesson's entry names the teacher by name, and by code, day and hour in its reason.
  ASSERT_EQ(report.entries.size(), expected.size());
  EXPECT_EQ(report.entries[1].name, "Gil Mora, Juan");
  for (const auto& [entry, lesson] : {std::pair{1, "'GMJ'"},
                                      std::pair{1,
                                                "d\xED"
                                                "a 2, hora 1"},
                                      std::pair{8, "'AB'"},
                                      std::pair{8,
                                                "d\xED"
                                                "a 3, hora 5"}}) {
    EXPECT_NE(report.entries[entry].reason.find(lesson), std::string::npos)
        << report.entries[entry].reason;
  }
}

TEST_F(ImportRun, WritesTheHeaderAndKeepsTheNodesAroundTheRoot) {
  ASSERT_EQ(Run().outcome, RunOutcome::kFinished);
  const std::string bytes = ReadFile(Output());
  // The declaration and the comments outside the root stay; the new root comes last.
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
  const auto first_comment = bytes.find("<!-- exportado por Ortelia -->");
  const auto last_comment = bytes.find("<!-- fin -->");
  const auto root =
      bytes.find("<SERVICIO modulo=\"HORARIOS\" tipo=\"I\" autor=\"HORARIOS\" fecha=\"");
  ASSERT_NE(first_comment, std::string::npos);
  ASSERT_NE(last_comment, std::string::npos);
  ASSERT_NE(root, std::string::npos) << bytes;
  EXPECT_LT(first_comment, last_comment);
  EXPECT_LT(last_comment, root);
  EXPECT_EQ(bytes.find("ORTELIA\""), std::string::npos) << "the old root survived";
  // No white space of our own between elements.
  EXPECT_NE(bytes.find("<BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\"><dato "
                       "nombre_dato=\"C_ANNO\">2026</dato></grupo_datos><grupo_datos "
                       "seq=\"HORARIOS_REGULARES\" registros=\"5\"><grupo_datos "
                       "seq=\"HORARIO_REGULAR_PROFESOR_1\" registros=\"3\"><dato "
                       "nombre_dato=\"X_EMPLEADO\">E1</dato>"),
            std::string::npos)
      << bytes;

  const xml::Document output = xml::Document::Load(Output());
  EXPECT_FALSE(output.Root().Attribute("fecha").empty());
  // An empty value is an element without content.
  EXPECT_NE(bytes.find("<dato nombre_dato=\"X_DEPENDENCIA\"/>"), std::string::npos);
}

TEST_F(ImportRun, TheYearCodeIsTheStartOfTheFirstChildOfBloqueDatos) {
  const struct {
    std::string data;
    std::string year;
  } cases[] = {
      {"<grupo_datos seq=\"ANNO\"><dato>2026/27</dato></grupo_datos>", "2026"},
      {"<dato>26</dato><dato>2027</dato>", "26"},
      {"2025-26<grupo_datos seq=\"X\"/>", "2025"},
      {"\n  <!--a\xC3\xB1o-->\n  <grupo_datos/>", "a\xF1o"},  // a comment is a node too
  };
  for (const auto& c : cases) {
    WriteFile(input, "<SERVICIO><BLOQUE_DATOS>" + c.data + "</BLOQUE_DATOS></SERVICIO>");
    ASSERT_EQ(Run().outcome, RunOutcome::kFinished) << c.data;
    const xml::Document output = xml::Document::Load(Output());
    const auto blocks = output.Root().ChildElements("BLOQUE_DATOS");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].ChildElements("grupo_datos")[0].Text(), c.year) << c.data;
  }
}

TEST_F(ImportRun, AnEmptyTeacherTableGivesAnEmptyScheduleBlock) {
  WriteTable(work, Proft({}));
  ASSERT_EQ(Run().outcome, RunOutcome::kFinished);
  EXPECT_NE(ReadFile(Output()).find("<grupo_datos seq=\"HORARIOS_REGULARES\" registros=\"0\"/>"),
            std::string::npos);
}

TEST_F(ImportRun, ACancelledDialogKeepsTheEarlierChoice) {
  ui.answer.reset();
  EXPECT_EQ(Run().outcome, RunOutcome::kNoFile);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No existe archivo"});
  EXPECT_EQ(ui.busy_calls, 0);

  selected = input;
  ui.messages.clear();
  EXPECT_EQ(Run().outcome, RunOutcome::kFinished);
  EXPECT_EQ(selected, input);
  EXPECT_TRUE(fs::exists(Output()));
}

TEST_F(ImportRun, AMissingFileEndsTheRunBeforeAnyTableIsOpened) {
  ui.answer = temp.Path() / "gone.xml";
  fs::remove(work / "SOLUC.DBF");
  EXPECT_EQ(Run().outcome, RunOutcome::kNoFile);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"No existe archivo"});
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ImportRun, AMissingPeriodTableRefusesTheRunAndLeavesTheTablesFree) {
  fs::remove(work / "PERIODOS.DBF");
  EXPECT_EQ(Run().outcome, RunOutcome::kRefused);
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{
                "ATENCI\xD3N - PERIODOS.DBF No encontrado - Importe de nuevo XML de ORTELIA."});
  EXPECT_FALSE(fs::exists(Output()));
  EXPECT_FALSE(ui.busy);
  worktables::Table soluc(work, "SOLUC");
  EXPECT_NO_THROW(soluc.Open(worktables::OpenMode::kExclusive));
}

// DIA is read only in the rows of a teacher of the teacher table, and HORA only in those
// of them that are lessons: a bad value elsewhere does not stop the run.
TEST_F(ImportRun, DayAndHourAreReadOnlyInTheLessonsOfKnownTeachers) {
  const struct {
    std::string prof, dia, hora;
    bool finishes;
  } cases[] = {
      {"ZZZ", "x1", "1", true},   // no such teacher
      {"ZZZ", "1", "x", true},    // no such teacher
      {"Gmj", "x1", "x", true},   // codes are case-sensitive
      {"GMJ", "0", "x", true},    // not placed: no hour is read
      {"GMJ", "1", "x", false},   // a lesson
      {"SIN", "x1", "1", false},  // a teacher without lessons
  };
  for (const auto& c : cases) {
    SetUp();
    WriteTable(work, TableContents{"SOLUC",
                                   {{"PROF", worktables::FieldType::kCharacter, 10},
                                    {"DIA", worktables::FieldType::kCharacter, 2},
                                    {"HORA", worktables::FieldType::kCharacter, 2},
                                    {"MARCO", worktables::FieldType::kCharacter, 1},
                                    {"ASIG", worktables::FieldType::kCharacter, 10},
                                    {"CODGRUPO", worktables::FieldType::kCharacter, 10},
                                    {"TAREA", worktables::FieldType::kCharacter, 10},
                                    {"AULA", worktables::FieldType::kCharacter, 10}},
                                   {{"GMJ", "1", "1", "0", "MAT", "1A", "", "A01"},
                                    {c.prof, c.dia, c.hora, "0", "MAT", "1A", "", ""}}});
    ui.errors.clear();
    const std::string what = c.prof + " " + c.dia + " " + c.hora;
    const RunReport report = Run();
    if (!c.finishes) {
      EXPECT_EQ(report.outcome, RunOutcome::kFailed) << what;
      EXPECT_FALSE(fs::exists(Output())) << what;
      continue;
    }
    ASSERT_EQ(report.outcome, RunOutcome::kFinished)
        << what << ": " << (ui.errors.empty() ? "" : ui.errors[0]);
    const auto teachers = ReadSchedule(xml::Document::Load(Output()));
    ASSERT_EQ(teachers.size(), 5u) << what;
    EXPECT_EQ(teachers[0].registros, "1") << what;
    EXPECT_EQ(Field(teachers[0].lessons.at(0), "X_TRAMO"), "T1") << what;
    fs::remove(Output());
  }
}

// Every failure: a clear message, no output written, an earlier output left intact, and
// the tables free again for the next export.
// Every file of a folder and its bytes (a folder inside shows as "<folder>").
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? ReadFile(entry.path()) : "<folder>";
  }
  return files;
}

// Overwrites bytes of a file in place.
void Patch(const fs::path& file, std::size_t at, const std::string& bytes) {
  std::string content = ReadFile(file);
  content.replace(at, bytes.size(), bytes);
  WriteFile(file, content);
}

// Where SOLUC's fixed header part and its field descriptors (32 bytes each) put things.
constexpr std::size_t kHeaderLengthAt = 8;
constexpr std::size_t kRecordCountAt = 4;
std::size_t TypeOfField(std::size_t field) { return 32 + 32 * field + 11; }

TEST_F(ImportRun, ADamagedOrMistakenSolutionTableIsRefusedNamingTableAndField) {
  using worktables::FieldType;
  const struct {
    std::string what;
    std::function<void()> spoil;
    std::string message_start;
    std::string message_part;
  } cases[] = {
      // A logical DIA read as "no lesson" on every row: a result without a timetable.
      {"DIA stored as a logical field",
       [&] {
         TableContents soluc = Soluc({{"GMJ", "", "1", "0", "MAT", "1A", "", "A01"}});
         soluc.fields[1] = {"DIA", FieldType::kLogical, 0};
         soluc.rows[0][1] = "T";
         WriteTable(work, soluc);
       },
       "No se puede abrir la tabla SOLUC: el campo DIA es de tipo l\xF3gico (L)", "SOLUC.DBF"},
      {"HORA stored as a date", [&] { Patch(work / "SOLUC.DBF", TypeOfField(2), "D"); },
       "No se puede abrir la tabla SOLUC: el campo HORA es de tipo fecha (D)", "SOLUC.DBF"},
      {"AULA stored as a memo", [&] { Patch(work / "SOLUC.DBF", TypeOfField(7), "M"); },
       "No se puede abrir la tabla SOLUC: el campo AULA es de tipo memo (M)", "SOLUC.DBF"},
      {"no field DIA", [&] { Patch(work / "SOLUC.DBF", 32 + 32, "DIX"); },
       "No se puede abrir la tabla SOLUC: No existe el campo DIA", "SOLUC.DBF"},
      // One byte more of header would shift every field of every row by one.
      {"header length one byte too long",
       [&] {
         const std::string bytes = ReadFile(work / "SOLUC.DBF");
         const unsigned length = static_cast<unsigned char>(bytes[kHeaderLengthAt]) +
                                 256u * static_cast<unsigned char>(bytes[kHeaderLengthAt + 1]);
         Patch(work / "SOLUC.DBF", kHeaderLengthAt,
               std::string{static_cast<char>((length + 1) & 0xFF),
                           static_cast<char>((length + 1) >> 8)});
       },
       "No se puede abrir la tabla SOLUC: La tabla ", "no corresponde a su lista de campos"},
      {"a size that is no whole number of rows",
       [&] { WriteFile(work / "SOLUC.DBF", ReadFile(work / "SOLUC.DBF") + "abc"); },
       "No se puede abrir la tabla SOLUC: La tabla ", "no corresponde a la longitud de sus"},
      {"a folder named SOLUC.DBF",
       [&] {
         fs::remove(work / "SOLUC.DBF");
         fs::create_directory(work / "SOLUC.DBF");
       },
       "No se puede abrir la tabla SOLUC: No se puede leer ", "es una carpeta, no un archivo"},
      {"the exchange file is a folder",
       [&] {
         fs::remove(input);
         fs::create_directory(input);
       },
       "No se puede leer ", "centro.xml: es una carpeta, no un archivo"},
  };
  for (const auto& c : cases) {
    fs::remove_all(work);
    fs::remove_all(input);
    SetUp();
    WriteFile(Output(), "earlier result");
    c.spoil();
    const auto before = Snapshot(work);
    ui.errors.clear();
    ui.messages.clear();
    EXPECT_EQ(Run().outcome, RunOutcome::kFailed) << c.what;
    ASSERT_EQ(ui.errors.size(), 1u) << c.what;
    EXPECT_EQ(ui.errors[0].substr(0, c.message_start.size()), c.message_start)
        << c.what << ": " << ui.errors[0];
    EXPECT_NE(ui.errors[0].find(c.message_part), std::string::npos)
        << c.what << ": " << ui.errors[0];
    EXPECT_EQ(Snapshot(work), before) << c.what;
    EXPECT_EQ(ReadFile(Output()), "earlier result") << c.what;
  }
}

// Rows after those the header counts are not read, as by every dBase reader, but the
// run's summary says that they are there.
TEST_F(ImportRun, RowsBeyondTheCountOfSolucAreLeftOutAndReported) {
  WriteTable(work, Soluc({
                       {"GMJ", "1", "1", "0", "MAT", "1A", "", "A01"},
                       {"GMJ", "1", "2", "0", "MAT", "1A", "", "A01"},
                       {"GMJ", "2", "1", "0", "MAT", "1A", "", "A01"},
                   }));
  Patch(work / "SOLUC.DBF", kRecordCountAt, std::string("\x01\x00\x00\x00", 4));
  const RunReport report = Run();
  ASSERT_EQ(report.outcome, RunOutcome::kFinished) << (ui.errors.empty() ? "" : ui.errors[0]);
  const auto count_of = [&](const std::string& label) {
    for (const auto& [name, count] : report.counts) {
      if (name == label) return static_cast<long>(count);
    }
    return -1L;
  };
  EXPECT_EQ(count_of("lecciones"), 1);
  EXPECT_EQ(count_of("registros de SOLUC tras los que cuenta su cabecera (no le\xED"
                     "dos)"),
            2);
}

TEST_F(ImportRun, FailuresWriteNothingAndFreeTheTables) {
  const struct {
    std::string what;
    std::function<void()> spoil;
    std::string message_part;
  } cases[] = {
      {"no SOLUC", [&] { fs::remove(work / "SOLUC.DBF"); }, "SOLUC"},
      {"no GRUPOST", [&] { fs::remove(work / "GRUPOST.DBF"); }, "GRUPOST"},
      {"no CURSOST", [&] { fs::remove(work / "CURSOST.DBF"); }, "CURSOST"},
      {"no PROFT", [&] { fs::remove(work / "PROFT.DBF"); }, "PROFT"},
      {"no AULAT", [&] { fs::remove(work / "AULAT.DBF"); }, "AULAT"},
      {"no ASIGNOMT", [&] { fs::remove(work / "ASIGNOMT.DBF"); }, "ASIGNOMT"},
      {"no DIASHORAST", [&] { fs::remove(work / "DIASHORAST.DBF"); }, "DIASHORAST"},
      {"no ASIGT", [&] { fs::remove(work / "ASIGT.DBF"); }, "ASIGT"},
      {"not well-formed", [&] { WriteFile(input, "<SERVICIO><BLOQUE_DATOS>"); }, "centro.xml"},
      {"no BLOQUE_DATOS", [&] { WriteFile(input, "<SERVICIO><OTRO>2026</OTRO></SERVICIO>"); },
       "BLOQUE_DATOS"},
      {"empty BLOQUE_DATOS", [&] { WriteFile(input, "<SERVICIO><BLOQUE_DATOS/></SERVICIO>"); },
       "BLOQUE_DATOS"},
      {"BLOQUE_DATOS of white space only",
       [&] { WriteFile(input, "<SERVICIO>\n  <BLOQUE_DATOS>\n  </BLOQUE_DATOS>\n</SERVICIO>\n"); },
       "BLOQUE_DATOS"},
      {"another root",
       [&] { WriteFile(input, "<ORTELIA><BLOQUE_DATOS>1</BLOQUE_DATOS></ORTELIA>"); },
       "BLOQUE_DATOS"},
      {"a slot time that is no clock",
       [&] {
         WriteTable(work, Diashorast({{"11", "T1", "1", "1", "8:3", "08:55", "0", "M"}}));
       },
       "':3' no es un valor entero v\xE1lido"},
      {"a DIA that is no number",
       [&] {
         WriteTable(work, TableContents{"SOLUC",
                                        {{"PROF", worktables::FieldType::kCharacter, 10},
                                         {"DIA", worktables::FieldType::kCharacter, 2},
                                         {"HORA", worktables::FieldType::kInteger, 0},
                                         {"MARCO", worktables::FieldType::kCharacter, 1},
                                         {"ASIG", worktables::FieldType::kCharacter, 10},
                                         {"CODGRUPO", worktables::FieldType::kCharacter, 10},
                                         {"TAREA", worktables::FieldType::kCharacter, 10},
                                         {"AULA", worktables::FieldType::kCharacter, 10}},
                                        {{"GMJ", "x1", "1", "0", "MAT", "1A", "", ""}}});
       },
       "'x1' no es un valor entero v\xE1lido"},
  };
  for (const auto& c : cases) {
    SetUp();
    WriteFile(Output(), "earlier result");
    c.spoil();
    ui.errors.clear();
    ui.messages.clear();
    EXPECT_EQ(Run().outcome, RunOutcome::kFailed) << c.what;
    ASSERT_EQ(ui.errors.size(), 1u) << c.what;
    EXPECT_NE(ui.errors[0].find(c.message_part), std::string::npos)
        << c.what << ": " << ui.errors[0];
    EXPECT_TRUE(ui.messages.empty()) << c.what;
    EXPECT_FALSE(ui.busy) << c.what;
    EXPECT_EQ(ReadFile(Output()), "earlier result") << c.what;
    for (const char* name : {"SOLUC", "GRUPOST", "PROFT", "DIASHORAST", "ASIGT"}) {
      if (!fs::exists(work / (std::string(name) + ".DBF"))) continue;
      worktables::Table table(work, name);
      EXPECT_NO_THROW(table.Open(worktables::OpenMode::kExclusive)) << c.what << " " << name;
    }
  }
}

}  // namespace
}  // namespace tv::testing
