// How the block reader picks data blocks, block records and record fields.
#include "exchange/block_reader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace tv {
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

using Rows = std::vector<std::vector<std::string>>;

// Every record of the block as the list of its field texts.
Rows ReadBlock(const std::string& xml, const std::string& block) {
  const xml::Document document = xml::Document::Parse(xml, "prueba.xml");
  Rows rows;
  for (const xml::Node& record : SelectBlockRecords(document, block)) {
    const RecordFieldList fields = RecordFields(record);
    std::vector<std::string> row;
    for (std::size_t i = 0; i < fields.size(); ++i) row.push_back(FieldText(fields, i));
    rows.push_back(row);
  }
  return rows;
}

struct BlockCase {
  const char* what;
  std::string xml;
  Rows expected;  // the records of MATERIAS
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.what; }

std::string InService(const std::string& data) {
  return "<SERVICIO><BLOQUE_DATOS>" + data + "</BLOQUE_DATOS></SERVICIO>";
}

const std::string kRecordAB = "<grupo_datos><dato>a</dato><dato>b</dato></grupo_datos>";

class BlockPaths : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockPaths, SelectsTheRecordsOfMaterias) {
  EXPECT_EQ(ReadBlock(GetParam().xml, "MATERIAS"), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockPaths,
    testing::Values(
        BlockCase{"the plain block",
                  InService("<grupo_datos seq=\"MATERIAS\">" + kRecordAB + "</grupo_datos>"),
                  {{"a", "b"}}},
        BlockCase{"seq in other letter case",
                  InService("<grupo_datos seq=\"Materias\">" + kRecordAB + "</grupo_datos>"),
                  {}},
        BlockCase{"seq with blanks around the name",
                  InService("<grupo_datos seq=\" MATERIAS \">" + kRecordAB + "</grupo_datos>"),
                  {}},
        BlockCase{"no seq at all", InService("<grupo_datos>" + kRecordAB + "</grupo_datos>"), {}},
        BlockCase{"other blocks around it",
                  InService("<grupo_datos seq=\"ANNO_ACADEMICO\"><dato>2026</dato></grupo_datos>"
                            "<grupo_datos seq=\"ACTIVIDADES\">" +
                            kRecordAB + "</grupo_datos><grupo_datos seq=\"MATERIAS\">" +
                            "<grupo_datos><dato>m</dato><dato>n</dato></grupo_datos>"
                            "</grupo_datos>"),
                  {{"m", "n"}}},
        BlockCase{"dato children interleaved with other elements",
                  InService("<grupo_datos seq=\"MATERIAS\"><grupo_datos><otro>x</otro>"
                            "<dato>0</dato><nota>y</nota><dato>1</dato><datos>z</datos>"
                            "<dato>2</dato></grupo_datos></grupo_datos>"),
                  {{"0", "1", "2"}}},
        BlockCase{"records with one dato and none are still returned",
                  InService("<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>solo</dato>"
                            "</grupo_datos><grupo_datos/>" +
                            kRecordAB + "</grupo_datos>"),
                  {{"solo"}, {}, {"a", "b"}}},
        BlockCase{"a nested grupo_datos is not a record",
                  InService("<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>a</dato>"
                            "<grupo_datos><dato>x</dato><dato>y</dato></grupo_datos>"
                            "<dato>b</dato></grupo_datos></grupo_datos>"),
                  {{"a", "b"}}},
        BlockCase{"other elements beside the records",
                  InService("<grupo_datos seq=\"MATERIAS\"><registro><dato>x</dato>"
                            "<dato>y</dato></registro>" +
                            kRecordAB + "</grupo_datos>"),
                  {{"a", "b"}}},
        BlockCase{"BLOQUE_DATOS below another element",
                  "<SERVICIO><CABECERA><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\">" + kRecordAB +
                      "</grupo_datos></BLOQUE_DATOS></CABECERA></SERVICIO>",
                  {}},
        BlockCase{
            "a data block directly below SERVICIO",
            "<SERVICIO><grupo_datos seq=\"MATERIAS\">" + kRecordAB + "</grupo_datos></SERVICIO>",
            {}},
        BlockCase{"a root with another name",
                  "<SERVICIOS><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\">" + kRecordAB +
                      "</grupo_datos></BLOQUE_DATOS></SERVICIOS>",
                  {}},
        BlockCase{"a root in other letter case",
                  "<servicio><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\">" + kRecordAB +
                      "</grupo_datos></BLOQUE_DATOS></servicio>",
                  {}},
        BlockCase{"two blocks of one name, in document order",
                  InService("<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>1</dato>"
                            "<dato>x</dato></grupo_datos></grupo_datos>"
                            "<grupo_datos seq=\"UNIDADES\">" +
                            kRecordAB +
                            "</grupo_datos><grupo_datos seq=\"MATERIAS\"><grupo_datos>"
                            "<dato>2</dato><dato>y</dato></grupo_datos></grupo_datos>"),
                  {{"1", "x"}, {"2", "y"}}},
        BlockCase{"blocks in two BLOQUE_DATOS elements",
                  "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>1"
                  "</dato><dato>x</dato></grupo_datos></grupo_datos></BLOQUE_DATOS>"
                  "<BLOQUE_DATOS><grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>2</dato>"
                  "<dato>y</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
                  {{"1", "x"}, {"2", "y"}}},
        BlockCase{"a well-formed file without blocks", "<SERVICIO/>", {}}),
    ByWhat());

struct TextCase {
  const char* what;
  std::string dato;      // the dato element as written in the file
  std::string expected;  // its text in code page 1252
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.what; }

class FieldTexts : public testing::TestWithParam<TextCase> {};

TEST_P(FieldTexts, ReadAsWritten) {
  const Rows rows =
      ReadBlock(InService("<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>0</dato>" +
                          GetParam().dato + "</grupo_datos></grupo_datos>"),
                "MATERIAS");
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_EQ(rows[0].size(), 2u);
  EXPECT_EQ(rows[0][1], GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldTexts,
    testing::Values(
        TextCase{"blanks kept", "<dato>  Lengua  </dato>", "  Lengua  "},
        TextCase{"empty element", "<dato/>", ""}, TextCase{"blanks only", "<dato>  </dato>", "  "},
        TextCase{"accents to code page 1252", "<dato>Educaci\xC3\xB3n F\xC3\xADsica</dato>",
                 "Educaci\xF3n F\xEDsica"},
        TextCase{"a character code page 1252 lacks", "<dato>\xE2\x88\x9A 2</dato>", "? 2"},
        TextCase{"euro sign", "<dato>5 \xE2\x82\xAC</dato>", "5 \x80"},
        TextCase{"entities and character references", "<dato>A &amp; B &#209;</dato>",
                 "A & B \xD1"},
        TextCase{"text of child elements and CDATA, comments left out",
                 "<dato>a<b>b<i>c</i></b><!-- no -->d<![CDATA[<e>]]></dato>", "abcd<e>"},
        TextCase{"line break inside the text", "<dato>uno\r\ndos</dato>", "uno\ndos"}),
    ByWhat());

TEST(FieldText, APositionTheRecordLacksReadsEmpty) {
  const xml::Document document = xml::Document::Parse(
      InService("<grupo_datos seq=\"EMPLEADOS\">" + kRecordAB + "</grupo_datos>"), "prueba.xml");
  const BlockRecords records = SelectBlockRecords(document, "EMPLEADOS");
  ASSERT_EQ(records.size(), 1u);
  const RecordFieldList fields = RecordFields(records[0]);
  EXPECT_EQ(FieldText(fields, 1), "b");
  EXPECT_EQ(FieldText(fields, 2), "");
  EXPECT_EQ(FieldText(fields, 99), "");
  EXPECT_EQ(FieldText(RecordFields(xml::Node()), 0), "");
}

TEST(FieldText, ABlockNameWithAccentsIsMatchedInCodePage1252) {
  const xml::Document document = xml::Document::Parse(
      InService("<grupo_datos seq=\"A\xC3\x91O\">" + kRecordAB + "</grupo_datos>"), "prueba.xml");
  EXPECT_EQ(SelectBlockRecords(document, "A\xD1O").size(), 1u);
  EXPECT_EQ(SelectBlockRecords(document, "ANO").size(), 0u);
}

}  // namespace
}  // namespace tv
