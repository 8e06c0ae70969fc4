// The output file as other programs see it, and a solution written by another program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "exchange/xml_document.h"
#include "import/import_run.h"
#include "import_fixture.h"
#include "util/cp1252.h"
#include "worktables/table.h"

namespace tv::testing {
namespace {

namespace fs = std::filesystem;

// The work tables of a school with one teacher and one slot; the solution is the test's.
void WriteSmallSchool(const fs::path& work) {
  fs::create_directories(work);
  WriteTable(work, Proft({{"PE\xD1",
                           "Pe\xF1"
                           "a, Luc\xED"
                           "a",
                           "PE\xD1"
                           "A",
                           "2015"}}));
  WriteTable(work, Asigt({{"MAT", "1A", "M1", "C1"}}));
  WriteTable(work, Asignomt({{"MAT", "Matem\xE1ticas", "", "F"}, {"GUA", "Guardia", "GUA", "T"}}));
  WriteTable(work, Diashorast({{"11", "T1", "1", "1", "08:00", "08:55", "0", "M"},
                               {"11", "T9", "1", "1", "16:00", "16:55", "1", "T"}}));
  WriteTable(work, Grupost({{"1A", "G1"}}));
  WriteTable(work, Periodos({{"M",
                              "Ma\xF1"
                              "ana",
                              "01/09/2026", "30/06/2027"}}));
  WriteTable(work, Cursost());
  WriteTable(work, Aulat());
}

RunReport Import(const fs::path& work, const fs::path& input, RecordingUi& ui) {
  ui.answer = input;
  fs::path selected;
  return RunImport(RunFolders{work, work}, ui, selected);
}

// Checks an output with lxml: the encoding it reads it in, the comment before the root,
// the year code and the teacher's key, all with their accented letters.
const char* const kLxmlCheck = R"(
import sys
from lxml import etree
path, encoding = sys.argv[1], sys.argv[2]
tree = etree.parse(path)
def check(what, got, want):
    if got != want:
        print(f"{path}: {what} is {got!r}, expected {want!r}")
        sys.exit(1)
check("declared encoding", (tree.docinfo.encoding or "").lower(), encoding.lower())
comment = tree.getroot().getprevious()
while comment is not None and not isinstance(comment, etree._Comment):
    comment = comment.getprevious()
check("comment", comment.text if comment is not None else None, " Horario de \u00c1lvaro ")
check("C_ANNO", tree.xpath('string(/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq="ANNO_ACADEMICO"]/dato)'),
      "\u00d1\u00e120")
check("X_EMPLEADO", tree.xpath('string(//dato[@nombre_dato="X_EMPLEADO"])'), "PE\u00d1A")
check("lessons", len(tree.xpath('//grupo_datos[starts-with(@seq, "ACTIVIDAD_")]')), 1)
check("X_DEPENDENCIA", tree.xpath('string(//dato[@nombre_dato="X_DEPENDENCIA"])'), "A\u20ac1")
)";

TEST(ImportOutput, LoadsAgainWithItsAccentsWhateverTheInputEncoding) {
  if (!HavePython("lxml")) GTEST_SKIP() << "python3-lxml is not installed";
  // In code page 1252: a comment with an accent, the year text Ñá2026.
  const std::string comment = " Horario de \xC1lvaro ";
  const std::string year =
      "\xD1\xE1"
      "2026";
  const struct {
    std::string encoding;  // declared, "" for no declaration
    bool utf8;             // whether the input's bytes are UTF-8
    std::string written;   // the encoding the output declares
  } cases[] = {
      {"UTF-8", true, "UTF-8"},
      {"", true, ""},
      // An 8-bit input is written as UTF-8 under a declaration that says so.
      {"windows-1252", false, "UTF-8"},
      {"ISO-8859-1", false, "UTF-8"},  // the same bytes as windows-1252 for these letters
  };
  for (const auto& c : cases) {
    TempFolder temp;
    WriteSmallSchool(temp.Path() / "QTEMP");
    // The room holds a euro sign, which ISO-8859-1 cannot hold as a byte.
    WriteTable(temp.Path() / "QTEMP", Soluc({{"PE\xD1", "1", "1", "0", "MAT", "1A", "",
                                              "A\x80"
                                              "1"}}));
    std::string bytes;
    if (!c.encoding.empty()) bytes = "<?xml version=\"1.0\" encoding=\"" + c.encoding + "\"?>\n";
    bytes += "<!--" + comment + "-->\n<SERVICIO>\n <BLOQUE_DATOS>\n  <grupo_datos><dato>" + year +
             "</dato></grupo_datos>\n </BLOQUE_DATOS>\n</SERVICIO>\n";
    if (c.utf8) bytes = Cp1252ToUtf8(bytes);
    const fs::path input = temp.Path() / "centro.xml";
    WriteFile(input, bytes);

    RecordingUi ui;
    const RunReport report = Import(temp.Path() / "QTEMP", input, ui);
    ASSERT_EQ(report.outcome, RunOutcome::kFinished)
        << c.encoding << ": " << (ui.errors.empty() ? "" : ui.errors[0]);

    // Our own reader.
    const xml::Document output = xml::Document::Load(report.output_file);
    EXPECT_EQ(output.DeclaredEncoding(), c.written) << c.encoding;
    const auto teachers = ReadSchedule(output);
    ASSERT_EQ(teachers.size(), 1u);
    EXPECT_EQ(teachers[0].employee,
              "PE\xD1"
              "A")
        << c.encoding;
    EXPECT_EQ(output.Root().ChildElements("BLOQUE_DATOS")[0].ChildElements("grupo_datos")[0].Text(),
              "\xD1\xE1"
              "20")
        << c.encoding;

    EXPECT_EQ(Field(teachers[0].lessons.at(0), "X_DEPENDENCIA"),
              "A\x80"
              "1")
        << c.encoding;

    // An independent reader.
    EXPECT_EQ(RunPython(temp.Path(), kLxmlCheck,
                        {report.output_file.string(), c.written.empty() ? "UTF-8" : c.written}),
              0)
        << c.encoding;
  }
}

// The output is written as a stream: it must hold the bytes the document's tree and
// serializer write, whatever the input's encoding and prolog, and whatever characters
// the tables hold (markup characters, controls, letters of code page 1252).
TEST(ImportOutput, HoldsWhatTheDocumentTreeSavesForEveryInputEncoding) {
  const std::string fixtures = std::string(TV_SOURCE_DIR) + "/tests/exchange/fixtures/";
  std::vector<std::pair<std::string, std::string>> inputs;
  for (const char* name :
       {"utf8_bare.xml", "utf8_bom.xml", "utf8_declared.xml", "iso8859_1_declared.xml",
        "latin1_declared.xml", "windows1252_declared.xml", "utf16le_bom.xml", "utf16be_bom.xml"}) {
    inputs.emplace_back(name, ReadFile(fixtures + name));
  }
  inputs.emplace_back("prolog.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a\xC3\xB1o -->\n"
                      "<?ortelia v=\"2\"?>\n<!DOCTYPE SERVICIO>\n<SERVICIO><BLOQUE_DATOS>"
                      "<grupo_datos>2026</grupo_datos></BLOQUE_DATOS></SERVICIO>\n<!-- fin -->");
  TempFolder temp;
  const fs::path work = temp.Path() / "QTEMP";
  WriteSmallSchool(work);
  WriteTable(work, Soluc({{"PE\xD1", "1", "1", "0", "MAT", "1A", "", "A\x80<&>\"'\x01\t"},
                          {"PE\xD1", "1", "1", "1", "GUA", "", "", ""}}));
  for (const auto& [name, bytes] : inputs) {
    const fs::path input = temp.Path() / name;
    WriteFile(input, bytes);
    RecordingUi ui;
    const RunReport report = Import(work, input, ui);
    ASSERT_EQ(report.outcome, RunOutcome::kFinished)
        << name << ": " << (ui.errors.empty() ? "" : ui.errors[0]);
    const std::string written = ReadFile(report.output_file);
    EXPECT_TRUE(written == OutputThroughTree(work, input, DateOf(report.output_file)))
        << name << ":\n"
        << written;
  }
}

// A solution written by another program, with numeric DIA and HORA of two digits as
// Velorim defines them.
TEST(ImportOutput, ReadsASolutionWrittenByAnotherProgram) {
  if (!HavePython("dbf")) GTEST_SKIP() << "python3-dbf is not installed";
  TempFolder temp;
  const fs::path work = temp.Path() / "QTEMP";
  WriteSmallSchool(work);
  const char* const script = R"(
import sys, dbf
table = dbf.Table(sys.argv[1], 'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(1); ASIG C(10); '
                  'CODGRUPO C(10); TAREA C(10); AULA C(10)', dbf_type='db3', codepage='cp1252')
table.open(dbf.READ_WRITE)
for row in [('PE\u00d1', 1, 1, '1', 'MAT', '1A', '', 'A\u00d101'),
            ('PE\u00d1', 0, 0, '', 'MAT', '1A', '', ''),
            ('PE\u00d1', 1, 1, '0', 'GUA', '', '', '   '),
            ('OTRO', 1, 1, '0', 'MAT', '1A', '', 'A01')]:
    table.append(row)
table.close()
)";
  ASSERT_EQ(RunPython(temp.Path(), script, {(work / "SOLUC.DBF").string()}), 0);
  const fs::path input = temp.Path() / "centro.xml";
  WriteFile(input, "<SERVICIO><BLOQUE_DATOS><a>2026</a></BLOQUE_DATOS></SERVICIO>");

  RecordingUi ui;
  const RunReport report = Import(work, input, ui);
  ASSERT_EQ(report.outcome, RunOutcome::kFinished) << (ui.errors.empty() ? "" : ui.errors[0]);
  const auto teachers = ReadSchedule(xml::Document::Load(report.output_file));
  ASSERT_EQ(teachers.size(), 1u);
  const std::vector<Lesson> expected = {
      {{"seq", "ACTIVIDAD_1"},
       {"N_DIASEMANA", "1"},
       {"X_TRAMO", "T9"},
       {"X_DEPENDENCIA",
        "A\xD1"
        "01"},
       {"X_UNIDAD", "G1"},
       {"X_OFERTAMATRIG", "C1"},
       {"X_MATERIAOMG", "M1"},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "960"},
       {"N_HORFIN", "1015"},
       {"X_ACTIVIDAD", "1"}},
      {{"seq", "ACTIVIDAD_2"},
       {"N_DIASEMANA", "1"},
       {"X_TRAMO", "T1"},
       {"X_DEPENDENCIA", ""},
       {"X_UNIDAD", ""},
       {"X_OFERTAMATRIG", ""},
       {"X_MATERIAOMG", ""},
       {"F_INICIO", "01/09/2026"},
       {"F_FIN", "30/06/2027"},
       {"N_HORINI", "480"},
       {"N_HORFIN", "535"},
       {"X_ACTIVIDAD", "GUA"}},
  };
  EXPECT_EQ(teachers[0].registros, "2");
  EXPECT_EQ(teachers[0].lessons, expected);
}

#ifndef _WIN32
// Another program (here a Python process holding a lock on the whole file, as Velorim
// holds a table it has open) keeps one of the tables: the run names it and writes nothing.
TEST(ImportOutput, ATableHeldByAnotherProgramStopsTheRun) {
  if (!HavePython("fcntl")) GTEST_SKIP() << "no /usr/bin/python3 to hold the table";
  TempFolder temp;
  const fs::path work = temp.Path() / "QTEMP";
  WriteSmallSchool(work);
  WriteTable(work, Soluc({{"PE\xD1", "1", "1", "0", "MAT", "1A", "", "A01"}}));
  const fs::path input = temp.Path() / "centro.xml";
  WriteFile(input, "<SERVICIO><BLOQUE_DATOS><a>2026</a></BLOQUE_DATOS></SERVICIO>");
  const fs::path output = temp.Path() / "ResultadoVelorcentro.xml";
  WriteFile(output, "earlier result");

  for (const char* table : {"DIASHORAST", "SOLUC"}) {
    const fs::path ready = temp.Path() / "ready";
    fs::remove(ready);
    const std::string command =
        "/usr/bin/python3 -c \"import fcntl, sys; f = open(sys.argv[1], 'r+b'); "
        "fcntl.lockf(f, fcntl.LOCK_EX); open(sys.argv[2], 'w').close(); sys.stdin.read()\" '" +
        (work / (std::string(table) + ".DBF")).string() + "' '" + ready.string() + "'";
    FILE* holder = popen(command.c_str(), "w");
    ASSERT_NE(holder, nullptr);
    for (int i = 0; i < 500 && !fs::exists(ready); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(fs::exists(ready)) << "the holding process did not start";

    RecordingUi ui;
    EXPECT_EQ(Import(work, input, ui).outcome, RunOutcome::kFailed) << table;
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find(table), std::string::npos) << ui.errors[0];
    EXPECT_EQ(ReadFile(output), "earlier result");
    pclose(holder);

    // Once the other program lets go, the import runs.
    EXPECT_EQ(Import(work, input, ui).outcome, RunOutcome::kFinished) << table;
    WriteFile(output, "earlier result");
  }
}
#endif

}  // namespace
}  // namespace tv::testing
