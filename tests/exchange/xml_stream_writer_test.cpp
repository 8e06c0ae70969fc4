// The stream writer against the document's own serializer: the same elements after the
// same input's prolog give the same bytes, in every encoding and for every character.
#include "exchange/xml_stream_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "tree_writer.h"
#include "util/run_error.h"

namespace tv::xml {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path TestFolder() {
  const fs::path folder =
      fs::temp_directory_path() /
      ("tv-stream-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

using Elements = std::function<void(ElementWriter&)>;

// Every code page 1252 byte but NUL, in a text and in an attribute; markup characters;
// empty elements and empty texts; nesting.
void EveryCharacter(ElementWriter& out) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  out.StartElement("SERVICIO");
  out.Attribute("modulo", "HORARIOS");
  out.Attribute("fecha", all);
  out.Attribute("registros", 12);
  out.StartElement("BLOQUE_DATOS");
  out.StartElement("dato");
  out.Attribute("nombre_dato", "X_TODO");
  out.Text(all);
  out.EndElement();
  out.StartElement("dato");
  out.Attribute("nombre_dato", "vac\xEDo");
  out.Text("");
  out.EndElement();
  out.StartElement("grupo_datos");
  out.EndElement();
  out.StartElement("dato");
  out.Attribute("a", "'\"<>&\t\n\r");
  out.Text(" 'x' \"y\" <z> & \t\n\r ");
  out.EndElement();
  out.EndElement();
  out.EndElement();
}

// Enough elements, with accented letters, that the writer's buffer fills many times.
void ManyElements(ElementWriter& out) {
  out.StartElement("SERVICIO");
  for (int i = 0; i < 40000; ++i) {
    out.StartElement("grupo_datos");
    out.Attribute("seq", "ACTIVIDAD_" + std::to_string(i));
    out.StartElement("dato");
    out.Text("Educaci\xF3n F\xEDsica \x80 " + std::to_string(i));
    out.EndElement();
    out.EndElement();
  }
  out.EndElement();
}

std::string Through(const std::string& input, const Elements& elements, bool stream) {
  Document document = Document::Parse(input, "in.xml");
  if (!stream) {
    TreeWriter tree(document);
    elements(tree);
    return document.Serialize();
  }
  const fs::path file = TestFolder() / "out.xml";
  StreamWriter writer(file, document.PrologWithoutRoot());
  elements(writer);
  writer.Commit();
  return ReadBytes(file);
}

std::string Utf16(const std::string& ascii, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    out += big_endian ? '\0' : c;
    out += big_endian ? c : '\0';
  }
  return out;
}

TEST(StreamWriter, WritesWhatTheDocumentSavesInEveryEncoding) {
  const std::string body = "<SERVICIO a=\"viejo\"><BLOQUE_DATOS><d>1</d></BLOQUE_DATOS></SERVICIO>";
  const struct {
    const char* what;
    std::string input;
  } cases[] = {
      {"UTF-8 without declaration", body},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + body},
      {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body},
      {"no encoding declared", "<?xml version=\"1.0\"?>" + body},
      {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>" + body},
      {"windows-1252", "<?xml version='1.0' encoding='windows-1252'?>\r\n" + body},
      {"UTF-16 LE", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, false)},
      {"UTF-16 BE", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, true)},
      {"UTF-16LE declared", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16LE\"?>" + body, false)},
      {"UTF-16BE declared", Utf16("<?xml version=\"1.0\" encoding=\"utf-16be\"?>" + body, true)},
      {"comments, instruction and doctype around the root",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- Ortelia \xC3\xB1 -->\n"
       "<?proceso a=\"1\"?>\n<!DOCTYPE SERVICIO>\n" +
           body + "\n<!-- fin -->\n<?despu\xC3\xA9s?>"},
  };
  for (const auto& c : cases) {
    for (const auto& [name, elements] :
         {std::pair<const char*, Elements>{"every character", EveryCharacter},
          std::pair<const char*, Elements>{"many elements", ManyElements}}) {
      const std::string tree = Through(c.input, elements, false);
      const std::string stream = Through(c.input, elements, true);
      EXPECT_EQ(stream.size(), tree.size()) << c.what << ", " << name;
      EXPECT_TRUE(stream == tree)
          << c.what << ", " << name << ": first difference at byte "
          << std::mismatch(stream.begin(), stream.end(), tree.begin(), tree.end()).first -
                 stream.begin();
    }
  }
}

TEST(StreamWriter, AWriterNotCommittedLeavesTheEarlierFileAndNothingElse) {
  const fs::path folder = TestFolder();
  const fs::path target = folder / "ResultadoVelorcentro.xml";
  { std::ofstream(target) << "antiguo"; }
  {
    StreamWriter writer(target, Prolog{});
    writer.StartElement("SERVICIO");
    writer.Text(std::string(3 << 20, 'x'));  // more than one buffer goes to the disk
    writer.EndElement();
  }
  EXPECT_EQ(ReadBytes(target), "antiguo");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  StreamWriter writer(target, Prolog{"<!-- c -->\n", Encoding::kUtf8});
  writer.StartElement("SERVICIO");
  writer.EndElement();
  writer.Commit();
  EXPECT_EQ(ReadBytes(target), "<!-- c -->\n<SERVICIO/>\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(StreamWriter, AFileThatCannotBeWrittenIsNamed) {
  const fs::path file = TestFolder() / "no" / "existe.xml";
  try {
    StreamWriter writer(file, Prolog{});
    FAIL() << "no error";
  } catch (const RunError& error) {
    EXPECT_NE(error.message().find("existe.xml"), std::string::npos) << error.message();
  }
}

}  // namespace
}  // namespace tv::xml
