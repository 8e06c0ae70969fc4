// The bytes of the tables we write, the dBase variants others write, and damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>

#include "temp_folder.h"
#include "util/run_error.h"
#include "worktables/table.h"

namespace tv::worktables {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

unsigned Byte(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes.at(at));
}
unsigned Little16(const std::string& b, std::size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8;
}
unsigned Little32(const std::string& b, std::size_t at) {
  return Little16(b, at) | Little16(b, at + 2) << 16;
}

TEST(DbfFileTest, WrittenTablesAreOrdinaryDbaseFour) {
  TempFolder folder;
  Table table(folder.Path(), "slots.dbf");
  table.AddField({"DIHO", FieldType::kCharacter, 3});
  table.AddField({"ORDEN", FieldType::kInteger, 0});
  table.AddField({"HORAS", FieldType::kFloat, 0});
  table.AddField({"ESTAREA", FieldType::kLogical, 0});
  table.AddIndex({"ORDEN", "ORDEN"});
  table.Create();
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "SLOTS.MDX"));
  table.Open();
  table.Append();
  table.SetText("DIHO", "11");
  table.SetInt("ORDEN", 7);
  table.SetFloat("HORAS", 2.25);
  table.Post();
  table.Append();
  table.Post();
  table.Close();

  const std::string bytes = ReadBytes(folder.Path() / "SLOTS.DBF");
  const std::time_t now = std::time(nullptr);
  const std::tm* today = std::localtime(&now);
  EXPECT_EQ(Byte(bytes, 0), 0x03u);
  EXPECT_EQ(Byte(bytes, 1), static_cast<unsigned>(today->tm_year));
  EXPECT_EQ(Byte(bytes, 2), static_cast<unsigned>(today->tm_mon + 1));
  EXPECT_EQ(Byte(bytes, 3), static_cast<unsigned>(today->tm_mday));
  EXPECT_EQ(Little32(bytes, 4), 2u);
  const unsigned header_length = 32 + 4 * 32 + 1;
  const unsigned record_length = 1 + 3 + 11 + 20 + 1;
  EXPECT_EQ(Little16(bytes, 8), header_length);
  EXPECT_EQ(Little16(bytes, 10), record_length);
  EXPECT_EQ(Byte(bytes, 28), 1u) << "production index flag";
  EXPECT_EQ(Byte(bytes, 29), 0x57u) << "Windows ANSI";
  const std::string types[] = {"DIHO C 3 0", "ORDEN N 11 0", "HORAS N 20 4", "ESTAREA L 1 0"};
  for (int i = 0; i < 4; ++i) {
    const std::size_t at = 32 + 32 * i;
    const std::string name = bytes.substr(at, 11).c_str();
    EXPECT_EQ(name + " " + bytes[at + 11] + " " + std::to_string(Byte(bytes, at + 16)) + " " +
                  std::to_string(Byte(bytes, at + 17)),
              types[i]);
  }
  EXPECT_EQ(Byte(bytes, 32 + 32 + 31), 1u) << "ORDEN carries the tag";
  EXPECT_EQ(Byte(bytes, header_length - 1), 0x0Du);
  ASSERT_EQ(bytes.size(), header_length + 2 * record_length + 1);
  EXPECT_EQ(Byte(bytes, bytes.size() - 1), 0x1Au);
  EXPECT_EQ(bytes.substr(header_length, record_length), " 11           7              2.2500 ");
  EXPECT_EQ(bytes.substr(header_length + record_length, record_length),
            std::string(record_length, ' '));

  Table plain(folder.Path(), "PLAIN");
  plain.AddField({"A", FieldType::kCharacter, 1});
  plain.Create();
  EXPECT_EQ(Byte(ReadBytes(folder.Path() / "PLAIN.DBF"), 28), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "PLAIN.MDX"));
}

TEST(DbfFileTest, LongFieldNamesAreWrittenAsDbaseSeven) {
  TempFolder folder;
  Table table(folder.Path(), "NIVELEX");
  table.AddField({"X_OFERTAMATRIG", FieldType::kInteger, 0});
  table.AddField({"NIVEL_ABREV", FieldType::kCharacter, 5});
  table.Create();
  const std::string bytes = ReadBytes(folder.Path() / "NIVELEX.DBF");
  const unsigned header_length = 68 + 2 * 48 + 1;
  EXPECT_EQ(Byte(bytes, 0), 0x04u);
  EXPECT_EQ(Byte(bytes, 29), 0x57u);
  EXPECT_EQ(Little16(bytes, 8), header_length);
  EXPECT_EQ(Little16(bytes, 10), 1u + 11 + 5);
  EXPECT_EQ(std::string(bytes.substr(68, 32).c_str()), "X_OFERTAMATRIG");
  EXPECT_EQ(bytes.substr(68 + 32, 3), std::string("N\x0B\x00", 3));
  EXPECT_EQ(std::string(bytes.substr(116, 32).c_str()), "NIVEL_ABREV");
  EXPECT_EQ(bytes.substr(116 + 32, 3), std::string("C\x05\x00", 3));
  EXPECT_EQ(Byte(bytes, header_length - 1), 0x0Du);
  EXPECT_EQ(bytes.size(), header_length + 1u);
  EXPECT_EQ(Byte(bytes, header_length), 0x1Au);
}

// A hand-made table: version, descriptors (name, type, length, decimals), records.
struct Field {
  std::string name;
  char type;
  int length;
  int decimals;
};

std::string MakeDbf(std::uint8_t version, const std::vector<Field>& fields,
                    const std::vector<std::string>& records, bool dbase7 = false,
                    std::size_t backlink = 0) {
  const std::size_t fixed = dbase7 ? 68 : 32, descriptor = dbase7 ? 48 : 32;
  int record_length = 1;
  for (const Field& f : fields) record_length += f.length;
  const std::size_t header_length = fixed + descriptor * fields.size() + 1 + backlink;
  std::string out(header_length, '\0');
  out[0] = static_cast<char>(version);
  out[1] = 124;
  out[2] = 5;
  out[3] = 6;
  out[4] = static_cast<char>(records.size());
  out[8] = static_cast<char>(header_length & 0xFF);
  out[9] = static_cast<char>(header_length >> 8);
  out[10] = static_cast<char>(record_length & 0xFF);
  out[11] = static_cast<char>(record_length >> 8);
  out[29] = 0x03;
  std::size_t at = fixed;
  for (const Field& f : fields) {
    out.replace(at, f.name.size(), f.name);
    const std::size_t type_at = at + (dbase7 ? 32 : 11);
    out[type_at] = f.type;
    out[type_at + (dbase7 ? 1 : 5)] = static_cast<char>(f.length);
    out[type_at + (dbase7 ? 2 : 6)] = static_cast<char>(f.decimals);
    at += descriptor;
  }
  out[at] = 0x0D;
  for (const std::string& r : records) {
    EXPECT_EQ(r.size(), static_cast<std::size_t>(record_length)) << r;
    out += r;
  }
  out += '\x1A';
  return out;
}

std::vector<std::string> ReadAll(const std::filesystem::path& folder, const std::string& name) {
  Table table(folder, name);
  table.Open();
  std::vector<std::string> rows;
  for (; !table.Eof(); table.Next()) {
    std::string row;
    for (std::size_t i = 0; i < table.Fields().size(); ++i) {
      row += (i ? "|" : "") + table.GetText(i);
    }
    rows.push_back(row);
  }
  return rows;
}

std::string LittleBytes(std::uint64_t value, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

TEST(DbfFileTest, ReadsTheVariantsOthersWrite) {
  TempFolder folder;
  // dBase III with memo, a numeric N(2,0) day, a date, a memo and a deleted row.
  WriteBytes(folder.Path() / "soluc.dbf",
             MakeDbf(0x83,
                     {{"PROF", 'C', 4, 0},
                      {"DIA", 'N', 2, 0},
                      {"F", 'D', 8, 0},
                      {"NOTA", 'M', 10, 0},
                      {"H", 'N', 6, 2}},
                     {" AB   1202612110000000001  1.50", "*XX   2        0000000002  0.00",
                      " CD  10        0000000000  -.25"}));
  EXPECT_EQ(ReadAll(folder.Path(), "SOLUC.DBF"),
            (std::vector<std::string>{"AB|1|20261211||1.5", "CD|10|||-0.25"}));

  // Visual FoxPro: backlink area, integer, double, currency, datetime.
  double d = -2.5;
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  WriteBytes(folder.Path() / "VFP.DBF",
             MakeDbf(0x30, {{"I", 'I', 4, 0}, {"B", 'B', 8, 0}, {"Y", 'Y', 8, 0}, {"T", 'T', 8, 0}},
                     {" " + LittleBytes(static_cast<std::uint32_t>(-7), 4) + LittleBytes(bits, 8) +
                      LittleBytes(123450, 8) + LittleBytes(2461386, 4) + LittleBytes(3723000, 4)},
                     false, 263));
  EXPECT_EQ(ReadAll(folder.Path(), "VFP"),
            (std::vector<std::string>{"-7|-2.5|12.345|20261211 01:02:03"}));

  // dBase 7: long names, autoincrement and double stored with the sign bit flipped.
  std::uint64_t three;
  d = 3.0;
  std::memcpy(&three, &d, 8);
  three |= std::uint64_t{1} << 63;
  std::string big_three;
  for (int i = 7; i >= 0; --i) big_three += static_cast<char>((three >> (8 * i)) & 0xFF);
  WriteBytes(folder.Path() / "SEVEN.DBF",
             MakeDbf(0x04, {{"X_OFERTAMATRIG", '+', 4, 0}, {"VALOR_DOBLE", 'O', 8, 0}},
                     {std::string(" \x80\x00\x00\x05", 5) + big_three}, true));
  EXPECT_EQ(ReadAll(folder.Path(), "SEVEN"), (std::vector<std::string>{"5|3"}));
  Table seven(folder.Path(), "SEVEN");
  seven.Open();
  EXPECT_EQ(seven.GetInt("X_OFERTAMATRIG"), 5);
}

TEST(DbfFileTest, DamagedFilesAreRefusedWithTheFileName) {
  TempFolder folder;
  const std::string good = MakeDbf(0x03, {{"A", 'C', 3, 0}}, {" abc", " def"});
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", ""});
  cases.push_back({"short", good.substr(0, 20)});
  std::string unknown = good;
  unknown[0] = '\x07';
  cases.push_back({"unknown version", unknown});
  std::string beyond = good;
  beyond[4] = 3;
  cases.push_back({"count beyond the end", beyond});
  std::string huge = good;
  huge[4] = huge[5] = huge[6] = huge[7] = '\xFF';
  cases.push_back({"huge count", huge});
  std::string record_length = good;
  record_length[10] = 9;
  cases.push_back({"record length", record_length});
  std::string header_length = good;
  header_length[8] = '\xF0';
  header_length[9] = '\x7F';
  cases.push_back({"header length beyond the file", header_length});
  std::string no_terminator = good;
  no_terminator[64] = 'X';
  cases.push_back({"no terminator", no_terminator});
  std::string zero_length = good;
  zero_length[32 + 16] = 0;
  cases.push_back({"zero field length", zero_length});
  cases.push_back({"truncated rows", good.substr(0, good.size() - 3)});
  // A header length that reaches into the first row would shift every field of every row.
  std::string header_too_long = good;
  ++header_too_long[8];
  cases.push_back({"header one byte too long", header_too_long});
  cases.push_back({"a size that is no whole number of rows", good + "xy"});

  for (const Case& c : cases) {
    WriteBytes(folder.Path() / "DANADA.DBF", c.bytes);
    Table table(folder.Path(), "DANADA");
    try {
      table.Open();
      FAIL() << c.what << ": opened";
    } catch (const RunError& error) {
      EXPECT_NE(error.message().find("DANADA.DBF"), std::string::npos)
          << c.what << ": " << error.message();
    }
  }
}

// What other writers leave is read: zeros after the terminator (some dBase III writers),
// rows after those the header counts (a writer that did not count them: not read, as by
// every dBase reader, but told), and Visual FoxPro's backlink.
TEST(DbfFileTest, PaddedHeadersAndUncountedRowsAreRead) {
  TempFolder folder;
  const std::vector<Field> fields = {{"A", 'C', 3, 0}};
  std::string padded = MakeDbf(0x03, fields, {" abc", " def"});
  padded.insert(32 + 32 + 1, 1, '\0');
  ++padded[8];
  std::string uncounted = MakeDbf(0x03, fields, {" abc", " def", " ghi"});
  uncounted[4] = 1;
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> rows;
    std::uint64_t uncounted;
  } cases[] = {
      {"a zero after the terminator", padded, {"abc", "def"}, 0},
      {"two rows after the counted one", uncounted, {"abc"}, 2},
      {"a Visual FoxPro backlink", MakeDbf(0x30, fields, {" abc"}, false, 263), {"abc"}, 0},
  };
  for (const auto& c : cases) {
    WriteBytes(folder.Path() / "OTRO.DBF", c.bytes);
    EXPECT_EQ(ReadAll(folder.Path(), "OTRO"), c.rows) << c.what;
    Table table(folder.Path(), "OTRO");
    table.Open();
    EXPECT_EQ(table.UncountedRows(), c.uncounted) << c.what;
  }
}

TEST(DbfFileTest, ScrambledFilesEitherReadOrFailCleanly) {
  TempFolder folder;
  const std::string good = MakeDbf(0x03,
                                   {{"C", 'C', 4, 0},
                                    {"N", 'N', 5, 2},
                                    {"L", 'L', 1, 0},
                                    {"I", 'I', 4, 0},
                                    {"T", 'T', 8, 0},
                                    {"O", 'O', 8, 0},
                                    {"Y", 'Y', 8, 0}},
                                   {std::string(" abcd 1.50T") + std::string(28, '\x7F'),
                                    std::string("*efgh-2.00F") + std::string(28, '\x01')});
  std::mt19937 random(12345);
  for (int round = 0; round < 400; ++round) {
    std::string bytes = good;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int f = 0; f < flips; ++f) {
      bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    }
    if (round % 7 == 0) bytes.resize(random() % bytes.size());
    WriteBytes(folder.Path() / "REVUELTA.DBF", bytes);
    try {
      for (const std::string& row : ReadAll(folder.Path(), "REVUELTA")) EXPECT_LE(row.size(), 400u);
    } catch (const RunError& error) {
      EXPECT_NE(error.message().find("REVUELTA.DBF"), std::string::npos) << error.message();
    }
  }
}

TEST(DbfFileTest, MissingTablesAndFoldersAreErrorsNamingThem) {
  TempFolder folder;
  Table missing(folder.Path(), "NOHAY");
  EXPECT_THROW(missing.Open(), RunError);
  Table nowhere(folder.Path() / "no" / "existe", "TABLA");
  nowhere.AddField({"A", FieldType::kCharacter, 1});
  try {
    nowhere.Create();
    FAIL() << "created";
  } catch (const RunError& error) {
    EXPECT_NE(error.message().find("existe"), std::string::npos) << error.message();
  }
}

}  // namespace
}  // namespace tv::worktables
