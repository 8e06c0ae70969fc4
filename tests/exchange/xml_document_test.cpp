// Loading exchange files in the encodings real files use, reporting broken ones, and
// writing documents back.
#include "exchange/xml_document.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "exchange/block_reader.h"
#include "util/run_error.h"

namespace tv::xml {
namespace {

// A test name from the case's description.
struct ByWhat {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    std::string name;
    for (const char c : std::string(info.param.what)) {
      name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
  }
};

namespace fs = std::filesystem;

fs::path Fixture(const std::string& name) {
  return fs::path(TV_SOURCE_DIR) / "tests" / "exchange" / "fixtures" / name;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh, empty folder for one test.
fs::path TestFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  fs::path folder = fs::path(TV_BINARY_DIR) / "test-output" / "exchange" /
                    (std::string(info->test_suite_name()) + "." + info->name());
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

// The message of the RunError that `action` throws, or "" when it throws none.
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const RunError& error) {
    return error.message();
  }
  return "";
}

std::string SecondFieldOfFirstEmployee(const Document& document) {
  const BlockRecords records = SelectBlockRecords(document, "EMPLEADOS");
  if (records.empty()) return "<no records>";
  return FieldText(RecordFields(records[0]), 1);
}

class Encodings : public testing::TestWithParam<const char*> {};

TEST_P(Encodings, ReadTheSameAccentedName) {
  const Document document = Document::Load(Fixture(GetParam()));
  EXPECT_EQ(SecondFieldOfFirstEmployee(document),
            "\xD1"
            "and\xFA P\xE9rez");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Encodings,
                         testing::Values("utf8_declared.xml", "utf8_bom.xml", "utf8_bare.xml",
                                         "utf16le_bom.xml", "utf16be_bom.xml",
                                         "iso8859_1_declared.xml", "latin1_declared.xml",
                                         "windows1252_declared.xml"));

TEST(Encodings, TheDeclarationIsKept) {
  const Document document = Document::Load(Fixture("iso8859_1_declared.xml"));
  EXPECT_EQ(document.DeclaredEncoding(), "ISO-8859-1");
  ASSERT_FALSE(document.TopLevelNodes().empty());
  EXPECT_FALSE(document.TopLevelNodes()[0].IsElement());
  EXPECT_EQ(Document::Load(Fixture("utf8_bare.xml")).DeclaredEncoding(), "");
}

TEST(Encodings, EightBitFilesReadTheWindowsCharacters) {
  // The euro sign and curly quotes: windows-1252 bytes, also found in files that say
  // ISO-8859-1.
  for (const char* encoding : {"windows-1252", "ISO-8859-1", "cp1252"}) {
    const std::string xml = std::string("<?xml version=\"1.0\" encoding=\"") + encoding +
                            "\"?><SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"EMPLEADOS\">"
                            "<grupo_datos><dato>1</dato><dato>\x93Pe\xF1"
                            "a\x94 5\x80</dato>"
                            "</grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>";
    EXPECT_EQ(SecondFieldOfFirstEmployee(Document::Parse(xml, "x.xml")),
              "\x93Pe\xF1"
              "a\x94 5\x80")
        << encoding;
  }
}

TEST(Encodings, AnUnknownDeclaredEncodingIsAnError) {
  const std::string message = ErrorOf([] {
    Document::Parse("<?xml version=\"1.0\" encoding=\"EBCDIC-ES\"?><SERVICIO/>", "raro.xml");
  });
  EXPECT_NE(message.find("raro.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("EBCDIC-ES"), std::string::npos) << message;
}

TEST(Encodings, EightBitBytesInAFileWithoutDeclarationAreAnError) {
  // Saved as ANSI without saying so: reading it as UTF-8 would give garbage names.
  const std::string message = ErrorOf([] {
    Document::Parse(
        "<SERVICIO>\n<a>Pe\xF1"
        "a</a></SERVICIO>",
        "ansi.xml");
  });
  EXPECT_NE(message.find("ansi.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("l\xEDnea 2, columna 6"), std::string::npos) << message;
}

struct MalformedCase {
  const char* what;
  std::string bytes;
  const char* where;  // the line and column the message must name
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.what; }

class Malformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(Malformed, IsAnErrorNamingFileLineAndColumn) {
  const std::string message = ErrorOf([] { Document::Parse(GetParam().bytes, "roto.xml"); });
  ASSERT_FALSE(message.empty()) << GetParam().what << ": no error";
  EXPECT_NE(message.find("roto.xml"), std::string::npos) << message;
  EXPECT_NE(message.find(GetParam().where), std::string::npos)
      << GetParam().what << ": " << message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Malformed,
    testing::Values(
        MalformedCase{"empty file", "", "vac\xEDo"},
        MalformedCase{"blanks only", "  \n ", "vac\xEDo"},
        MalformedCase{"declaration only", "<?xml version=\"1.0\"?>\n",
                      "ra\xEDz (l\xEDnea 2, columna 1)"},
        MalformedCase{"mismatched end tag", "<SERVICIO>\n  <a>\n  </b>\n</SERVICIO>",
                      "l\xEDnea 3, columna"},
        MalformedCase{"truncated file", "<SERVICIO>\n<BLOQUE_DATOS>\n<grupo_datos seq=\"X\"",
                      "l\xEDnea 3"},
        MalformedCase{"columns count characters, not bytes",
                      "<SERVICIO>\n<a>\xC3\xB1\xC3\xB1</b></SERVICIO>", "l\xEDnea 2, columna"},
        MalformedCase{"two root elements", "<SERVICIO/>\n<SERVICIO/>", "l\xEDnea 2, columna 1"},
        MalformedCase{"text after the root", "<SERVICIO/>\nbasura", "l\xEDnea 2"},
        MalformedCase{"bad attribute", "<SERVICIO>\r\n<a b=c/></SERVICIO>", "l\xEDnea 2"},
        MalformedCase{"UTF-16 declared in an 8-bit file",
                      "<?xml version=\"1.0\" encoding=\"UTF-16\"?><SERVICIO/>", "UTF-16"}),
    ByWhat());

TEST(Malformed, ALineAndColumnOfTheMismatch) {
  const std::string message =
      ErrorOf([] { Document::Parse("<SERVICIO>\n<a>\xC3\xB1\xC3\xB1</b></SERVICIO>", "x.xml"); });
  // "<a>ññ</" is 7 characters: the mismatching name begins in column 8.
  EXPECT_NE(message.find("columna 8"), std::string::npos) << message;
}

TEST(Load, AMissingFileIsAnError) {
  const std::string message = ErrorOf([] { Document::Load(Fixture("no-existe.xml")); });
  EXPECT_NE(message.find("no-existe.xml"), std::string::npos) << message;
}

// A file bigger than the memory: said so, never a bare allocation failure. The file is
// sparse, so it takes no room on the disk.
TEST(Load, AFileTooLargeForTheMemoryIsSaidToBeSo) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "AddressSanitizer ends the program where new would throw std::bad_alloc";
#endif
#endif
  const fs::path file = fs::temp_directory_path() / "tv_enorme.xml";
  { std::ofstream create(file, std::ios::binary); }
  std::error_code ec;
  fs::resize_file(file, std::uintmax_t{1} << 42, ec);
  if (ec) GTEST_SKIP() << "no sparse file of 4 TiB here: " << ec.message();
  const std::string message = ErrorOf([&] { Document::Load(file); });
  fs::remove(file);
  EXPECT_EQ(message, "El archivo " + file.string() +
                         " (4398046511104 bytes) es demasiado grande para la memoria "
                         "disponible: no se puede leer.");
}

TEST(Load, AWellFormedFileWithoutBlocksReadsEmpty) {
  const Document document = Document::Parse("<SERVICIO><BLOQUE_DATOS/></SERVICIO>", "v.xml");
  for (const std::string& block : kBlockCatalogue) {
    EXPECT_TRUE(SelectBlockRecords(document, block).empty()) << block;
  }
}

TEST(Load, WhiteSpaceBetweenElementsIsNotANode) {
  const Document document = Document::Parse(
      "<SERVICIO>\n  <BLOQUE_DATOS>\n    <grupo_datos seq=\"ANNO\">"
      "<dato>2026</dato></grupo_datos>\n  </BLOQUE_DATOS>\n</SERVICIO>\n",
      "v.xml");
  const Node first = document.Root().ChildElements("BLOQUE_DATOS")[0].FirstChild();
  EXPECT_TRUE(first.IsElement());
  EXPECT_EQ(first.Text(), "2026");
}

// ---- Writing -----------------------------------------------------------------------

TEST(Save, RoundTripOfAUtf8File) {
  const std::string input =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- Ortelia -->\n<?proceso x?>\n"
      "<SERVICIO a=\"1\">\n  <vac\xC3\xADo/>\n  <n>\xC3\x91"
      "and\xC3\xBA &amp; &lt;P\xC3\xA9rez&gt;</n>\n"
      "</SERVICIO>\n";
  const Document document = Document::Parse(input, "in.xml");
  const std::string output = document.Serialize();
  EXPECT_EQ(output,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- Ortelia -->\n<?proceso x?>\n"
            "<SERVICIO a=\"1\"><vac\xC3\xADo/><n>\xC3\x91"
            "and\xC3\xBA &amp; &lt;P\xC3\xA9rez&gt;</n>"
            "</SERVICIO>\n");
  // And it loads again to the same.
  EXPECT_EQ(Document::Parse(output, "out.xml").Serialize(), output);
}

TEST(Save, ALatin1FileIsWrittenAsUtf8WithItsDeclarationSayingSo) {
  const Document document = Document::Load(Fixture("iso8859_1_declared.xml"));
  const std::string output = document.Serialize();
  EXPECT_EQ(output.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO>", 0), 0u)
      << output;
  EXPECT_NE(output.find("\xC3\x91"
                        "and\xC3\xBA P\xC3\xA9rez"),
            std::string::npos);
  const Document again = Document::Parse(output, "out.xml");
  EXPECT_EQ(SecondFieldOfFirstEmployee(again),
            "\xD1"
            "and\xFA P\xE9rez");
}

TEST(Save, AUtf16FileIsWrittenAsUtf16) {
  const Document document = Document::Load(Fixture("utf16be_bom.xml"));
  const std::string output = document.Serialize();
  EXPECT_EQ(output.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  EXPECT_EQ(SecondFieldOfFirstEmployee(Document::Parse(output, "out.xml")),
            "\xD1"
            "and\xFA P\xE9rez");
}

TEST(Save, ABuiltDocumentKeepsThePrologAndWritesItsNewRoot) {
  Document document = Document::Parse(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- c --><SERVICIO><viejo/></SERVICIO>",
      "in.xml");
  document.RemoveRoot();
  Node root = document.AppendRoot("SERVICIO");
  root.SetAttribute("modulo", "HORARIOS");
  root.SetAttribute("version", 2);
  root.SetAttribute("modulo", "HORARIOS\xD1");  // a second set keeps the attribute's place
  Node block = root.AppendElement("BLOQUE_DATOS");
  block.AppendElement("vacio");
  block.AppendElement("dato").SetText("A\xF1o & <1>");
  block.AppendElement("hueco").SetText("");
  EXPECT_EQ(document.Serialize(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c -->\n"
            "<SERVICIO modulo=\"HORARIOS\xC3\x91\" version=\"2\"><BLOQUE_DATOS><vacio/>"
            "<dato>A\xC3\xB1o &amp; &lt;1&gt;</dato><hueco/></BLOQUE_DATOS></SERVICIO>\n");
}

TEST(Save, ControlCharactersXmlCannotHoldBecomeQuestionMarks) {
  Document document = Document::Parse("<SERVICIO/>", "in.xml");
  document.RemoveRoot();
  Node root = document.AppendRoot("SERVICIO");
  root.SetAttribute("autor", std::string("a\x01"
                                         "b"));
  root.AppendElement("dato").SetText(std::string("x\x1Fy\tz\x00w", 7));
  const std::string saved = document.Serialize();
  EXPECT_EQ(saved, "<SERVICIO autor=\"a?b\"><dato>x?y\tz?w</dato></SERVICIO>\n");
  EXPECT_EQ(Document::Parse(saved, "out.xml").Root().Attribute("autor"), "a?b");
}

TEST(Save, WritesTheFileAndReplacesAnEarlierOne) {
  const fs::path folder = TestFolder();
  const fs::path target = folder / "ResultadoVelorcentro.xml";
  { std::ofstream(target) << "antiguo"; }
  const Document document = Document::Parse("<SERVICIO><a>1</a></SERVICIO>", "in.xml");
  document.Save(target);
  EXPECT_EQ(ReadBytes(target), "<SERVICIO><a>1</a></SERVICIO>\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(Save, AFailureLeavesNoFileBehind) {
  const fs::path folder = TestFolder();
  const Document document = Document::Parse("<SERVICIO/>", "in.xml");
  // The target is a folder that holds a file: it cannot be replaced by a file.
  const fs::path target = folder / "ocupado.xml";
  fs::create_directories(target);
  { std::ofstream(target / "dentro.txt") << "x"; }
  const std::string message = ErrorOf([&] { document.Save(target); });
  EXPECT_NE(message.find("ocupado.xml"), std::string::npos) << message;
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  // And a folder that does not exist.
  EXPECT_FALSE(ErrorOf([&] { document.Save(folder / "no" / "existe.xml"); }).empty());
}

// ---- Loading in parts ----------------------------------------------------------------

// A school file with many records, and the hazards of markup: a doctype whose internal
// subset holds '>' and ']' in quotes and comments, comments and CDATA holding '<',
// instructions holding '>', attributes holding '>' and quotes, empty elements.
std::string SchoolInParts() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- antes <ra\xC3\xADz> -->\n"
      "<!DOCTYPE SERVICIO [\n  <!ENTITY nota \"a > b ] c\">\n  <!-- ] > -->\n]>\n"
      "<?proceso x > y?>\n<SERVICIO modulo='E' tipo=\"a>b\">\n  <BLOQUE_DATOS>\n"
      "    <grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2026</dato></grupo_datos>\n";
  for (int block = 0; block < 6; ++block) {
    text += "    <grupo_datos seq=\"B" + std::to_string(block) + "\">\n";
    for (int record = 0; record < 30; ++record) {
      text += "      <grupo_datos><dato nombre_dato=\"X\">" + std::to_string(record) +
              "</dato><dato a='\"&gt;'>P\xC3\xA9rez &amp; <![CDATA[<b>]]></dato>"
              "<!-- <no/> --><?pi <x>?><vacio/></grupo_datos>\n";
    }
    text += "    </grupo_datos>\n";
  }
  text += "  </BLOQUE_DATOS>\n</SERVICIO>\n<!-- despu\xC3\xA9s -->\n<?fin?>\n";
  return text;
}

// Reading in parts must agree with reading whole: the same prolog and year code for a
// well-formed file, the same error (with its line and column) for a broken one, however
// small the parts, so that a fault anywhere in a big file is found.
TEST(LoadInParts, AgreesWithLoadingWhole) {
  const std::string school = SchoolInParts();
  const std::size_t late = school.size() * 3 / 4;  // well past the first part
  auto replaced = [&](const std::string& what, const std::string& with) {
    const std::size_t at = school.find(what, late);
    return school.substr(0, at) + with + school.substr(at + what.size());
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"school", school},
      {"UTF-16 fixture", ReadBytes(Fixture("utf16le_bom.xml"))},
      {"windows-1252 fixture", ReadBytes(Fixture("windows1252_declared.xml"))},
      {"text first in BLOQUE_DATOS",
       "<SERVICIO><BLOQUE_DATOS>20<!--x-->26<a/><b/><c/></BLOQUE_DATOS></SERVICIO>"},
      {"an empty BLOQUE_DATOS first",
       "<SERVICIO><BLOQUE_DATOS/><BLOQUE_DATOS><a>1</a><b/></BLOQUE_DATOS></SERVICIO>"},
      {"no BLOQUE_DATOS", "<SERVICIO><a>1</a><b>2</b><c/></SERVICIO>"},
      {"end tag of another element", replaced("</dato>", "</datos>")},
      {"end tag missing", replaced("</grupo_datos>", "")},
      {"stray end tag", replaced("<vacio/>", "</vacio>")},
      {"cut short", school.substr(0, late)},
      {"cut inside a tag", school.substr(0, school.find("<dato", late) + 3)},
      {"comment not closed", replaced("<!-- <no/> -->", "<!-- <no/> ")},
      {"'<' in a text", replaced("P\xC3\xA9rez", "P<rez")},
      {"attribute without quotes", replaced("nombre_dato=\"X\"", "nombre_dato=X")},
      {"second root element", school + "<otro/>"},
      {"text after the root", school + "fin"},
      {"empty", " \n "},
      {"no root element", "<!-- solo -->"},
  };
  for (const auto& c : cases) {
    std::string whole_error, whole_prolog, whole_year;
    try {
      const Document whole = Document::Parse(c.bytes, "grande.xml");
      whole_prolog = whole.PrologWithoutRoot().bytes;
      whole_year = YearCode(whole).value_or("<none>");
    } catch (const RunError& error) {
      whole_error = error.message();
    }
    for (const std::size_t part_bytes : {std::size_t{1}, std::size_t{500}, Document::kPartBytes}) {
      const std::string where = std::string(c.what) + ", parts of " + std::to_string(part_bytes);
      std::string year = "<not called>";
      try {
        const Prolog prolog = Document::ParseInParts(
            c.bytes, "grande.xml",
            [&](const Document& beginning) { year = YearCode(beginning).value_or("<none>"); },
            part_bytes);
        EXPECT_EQ(whole_error, "") << where;
        EXPECT_EQ(prolog.bytes, whole_prolog) << where;
        EXPECT_EQ(year, whole_year) << where;
      } catch (const RunError& error) {
        EXPECT_EQ(error.message(), whole_error) << where;
        EXPECT_EQ(year, "<not called>") << where;
      }
    }
  }
}

}  // namespace
}  // namespace tv::xml
