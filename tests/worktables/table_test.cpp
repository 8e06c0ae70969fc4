// The table operations the export and the import rely on.
#include "worktables/table.h"

#include <gtest/gtest.h>

#include "temp_folder.h"
#include "util/run_error.h"

namespace tv::worktables {
namespace {

using testing::TempFolder;

std::vector<FieldDef> LoadFields() {
  return {{"COD", FieldType::kCharacter, 5},
          {"NOMBRE", FieldType::kCharacter, 20},
          {"DNI", FieldType::kInteger, 0},
          {"HORAS", FieldType::kFloat, 0},
          {"ESTAREA", FieldType::kLogical, 0}};
}

Table MakeTable(const TempFolder& folder, const std::string& name = "PRUEBA.DBF") {
  Table table(folder.Path(), name);
  for (const FieldDef& field : LoadFields()) table.AddField(field);
  table.Create();
  return table;
}

void AppendRow(Table& table, const std::string& cod, const std::string& nombre, int dni) {
  table.Append();
  table.SetText("COD", cod);
  table.SetText("NOMBRE", nombre);
  table.SetInt("DNI", dni);
  table.Post();
}

TEST(TableTest, ValuesReadBackAsTheCallersExpect) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open(OpenMode::kShared);
  table.Append();
  table.SetText("COD", "ABCDEFGH");  // cut to 5
  table.SetText("NOMBRE",
                "Jos\xE9 Mar\xED"
                "a  ");
  table.SetInt("DNI", -10);
  table.SetFloat("HORAS", 4.5);
  table.SetBool("ESTAREA", true);
  table.Post();
  table.Append();  // a row with nothing set
  table.Post();
  table.Append();
  table.SetText("DNI", "123");
  table.SetText("HORAS", "4");
  table.SetBool("ESTAREA", false);
  table.SetInt("NOMBRE", 42);
  table.Close();

  table.Open(OpenMode::kExclusive);
  ASSERT_EQ(table.RecordCount(), 3u);
  EXPECT_EQ(table.GetText("COD"), "ABCDE");
  EXPECT_EQ(table.GetText("nombre"),
            "Jos\xE9 Mar\xED"
            "a");
  EXPECT_EQ(table.GetText("DNI"), "-10");
  EXPECT_EQ(table.GetInt("DNI"), -10);
  EXPECT_EQ(table.GetText("HORAS"), "4.5");
  EXPECT_DOUBLE_EQ(table.GetFloat("HORAS"), 4.5);
  EXPECT_EQ(table.GetText("ESTAREA"), "T");
  table.Next();
  for (const char* field : {"COD", "NOMBRE", "DNI", "HORAS", "ESTAREA"}) {
    EXPECT_EQ(table.GetText(field), "") << field;
  }
  EXPECT_EQ(table.GetInt("DNI"), 0);
  EXPECT_EQ(table.GetFloat("HORAS"), 0.0);
  table.Next();
  EXPECT_EQ(table.GetText("DNI"), "123");
  EXPECT_EQ(table.GetText("HORAS"), "4");
  EXPECT_EQ(table.GetText("ESTAREA"), "F");
  EXPECT_EQ(table.GetText("NOMBRE"), "42");
  EXPECT_EQ(table.GetInt("NOMBRE"), 42);
  table.Next();
  EXPECT_TRUE(table.Eof());
}

TEST(TableTest, ValuesAFieldCannotTakeAreErrorsNamingTheFile) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open();
  table.Append();
  try {
    table.SetText("DNI", "12a");
    FAIL() << "no error";
  } catch (const RunError& error) {
    const std::string message = error.message();
    EXPECT_EQ(message.rfind("'12a' no es un valor entero v\xE1lido", 0), 0u) << message;
    EXPECT_NE(message.find("PRUEBA.DBF"), std::string::npos) << message;
    EXPECT_NE(message.find("DNI"), std::string::npos) << message;
  }
  EXPECT_THROW(table.SetText("HORAS", "cuatro"), RunError);
  EXPECT_THROW(table.SetText("ESTAREA", "quiz\xE1s"), RunError);
  EXPECT_THROW(table.SetText("NOEXISTE", "x"), RunError);
  EXPECT_THROW(table.SetInt("DNI", 123456789012LL), RunError);  // 12 digits in N 11
  table.SetText("COD", "X");
  table.SetText("NOMBRE", "abc");
  table.Post();
  EXPECT_THROW(table.SetText("COD", "Y"), RunError);  // not appending or editing
  EXPECT_THROW(table.GetInt("NOMBRE"), RunError);
  table.Close();
}

TEST(TableTest, ScanLocateAndFilterSeeTheRowsInTableOrder) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open();
  AppendRow(table, "A", "uno", 1);
  AppendRow(table, "B", "dos", 2);
  AppendRow(table, "a", "uno", 3);
  AppendRow(table, "A", "tres", 4);
  table.First();
  std::string seen;
  for (; !table.Eof(); table.Next()) seen += table.GetText("COD");
  EXPECT_EQ(seen, "ABaA");

  EXPECT_TRUE(table.Locate({"NOMBRE"}, {"uno"}));
  EXPECT_EQ(table.GetInt("DNI"), 1);
  EXPECT_TRUE(table.Locate({"COD", "NOMBRE"}, {"a", "uno"}));
  EXPECT_EQ(table.GetInt("DNI"), 3);
  EXPECT_TRUE(table.Locate({"DNI"}, {"4"}));  // numbers compare as their plain text
  EXPECT_EQ(table.GetText("NOMBRE"), "tres");
  EXPECT_FALSE(table.Locate({"COD", "NOMBRE"}, {"B", "uno"}));
  EXPECT_EQ(table.GetText("NOMBRE"), "tres") << "a failed locate stays put";
  EXPECT_FALSE(table.Locate({"NOMBRE"}, {"un"}));
  EXPECT_FALSE(table.Locate({"NOMBRE"}, {"UNO"}));

  table.SetFilter("COD", "A");
  table.SetFiltered(true);
  seen.clear();
  for (table.First(); !table.Eof(); table.Next()) seen += std::to_string(table.GetInt("DNI"));
  EXPECT_EQ(seen, "14");
  EXPECT_EQ(table.RecordCount(), 4u) << "the count ignores the filter";
  EXPECT_FALSE(table.Locate({"NOMBRE"}, {"dos"})) << "locate sees the filtered rows";
  table.SetFilter("COD", "Z");
  EXPECT_TRUE(table.Eof());
  table.SetFiltered(false);
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.GetText("COD"), "A");
}

TEST(TableTest, EditChangesTheRowInPlace) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open();
  for (int i = 1; i <= 3; ++i) AppendRow(table, "C" + std::to_string(i), "fila", i);
  table.Close();
  table.Open();
  table.Next();
  table.Edit();
  table.SetText("NOMBRE", "cambiada");
  table.Next();  // moving on stores the row
  EXPECT_EQ(table.GetText("COD"), "C3");
  table.Edit();
  table.SetInt("DNI", 30);
  table.Close();  // closing stores it too

  table.Open();
  std::vector<std::string> rows;
  for (; !table.Eof(); table.Next()) {
    rows.push_back(table.GetText("COD") + "," + table.GetText("NOMBRE") + "," +
                   table.GetText("DNI"));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"C1,fila,1", "C2,cambiada,2", "C3,fila,30"}));
}

TEST(TableTest, ManyRowsSurviveTheWriteBufferAndReadInOrder) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open();
  const int rows = 50000;  // several buffers and read chunks
  for (int i = 0; i < rows; ++i) {
    table.Append();
    table.SetInt("DNI", i);
    table.SetText("NOMBRE", "n" + std::to_string(i));
    table.Post();
  }
  // Reading before close sees the rows still waiting to be written.
  EXPECT_TRUE(table.Locate({"DNI"}, {std::to_string(rows - 1)}));
  {
    // Before close, another open already finds a whole table with the rows written so far.
    Table other(folder.Path(), "PRUEBA");
    other.Open(OpenMode::kShared);
    EXPECT_GT(other.RecordCount(), static_cast<std::size_t>(rows / 2));
    EXPECT_EQ(other.GetText("DNI"), "0");
  }
  table.Close();
  table.Open();
  EXPECT_EQ(table.RecordCount(), static_cast<std::size_t>(rows));
  const std::size_t dni = table.FieldIndex("DNI");
  int expected = 0;
  bool in_order = true;
  for (; !table.Eof(); table.Next()) in_order &= table.GetText(dni) == std::to_string(expected++);
  EXPECT_TRUE(in_order);
  EXPECT_EQ(expected, rows);
}

TEST(TableTest, RepeatedLocatesAndFiltersOnABigTableFollowItsChanges) {
  TempFolder folder;
  Table table = MakeTable(folder);
  table.Open();
  for (int i = 0; i < 1000; ++i) AppendRow(table, "C" + std::to_string(i % 10), "n", i);
  auto locate = [&](const std::string& cod, const std::string& nombre) {
    return table.Locate({"COD", "NOMBRE"}, {cod, nombre}) ? table.GetInt("DNI") : -1;
  };
  auto walk = [&]() {
    std::string seen;
    for (table.First(); !table.Eof(); table.Next()) seen += table.GetText("DNI") + " ";
    return seen;
  };
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(locate("C3", "n"), 3);
    EXPECT_EQ(locate("C3", "N"), -1);
    EXPECT_EQ(locate("NUEVO", "n"), -1);
  }
  AppendRow(table, "NUEVO", "n", 5000);
  EXPECT_EQ(locate("NUEVO", "n"), 5000);
  EXPECT_EQ(locate("NUEVO", "n"), 5000);
  ASSERT_EQ(locate("C3", "n"), 3);
  table.Edit();
  table.SetText("COD", "X");
  table.Post();
  EXPECT_EQ(locate("C3", "n"), 13);
  EXPECT_EQ(locate("C3", "n"), 13);

  table.SetFilter("COD", "C7");
  table.SetFiltered(true);
  std::string expected;
  for (int i = 7; i < 1000; i += 10) expected += std::to_string(i) + " ";
  EXPECT_EQ(walk(), expected);
  EXPECT_EQ(locate("C3", "n"), -1) << "locate sees only the filtered rows";
  EXPECT_EQ(locate("C7", "n"), 7);
  EXPECT_EQ(locate("C7", "n"), 7);
  table.First();
  table.Edit();
  table.SetText("COD", "C8");
  table.Post();
  EXPECT_EQ(walk(), expected.substr(2));
  table.SetFilter("COD", "NUEVO");
  EXPECT_EQ(walk(), "5000 ");
  table.SetFilter("COD", "nada");
  EXPECT_TRUE(table.Eof());
}

TEST(TableTest, DestroyingAnOpenTableLeavesItComplete) {
  TempFolder folder;
  {
    Table table = MakeTable(folder);
    table.Open();
    AppendRow(table, "A", "uno", 1);
    table.Append();
    table.SetText("COD", "B");  // pending: stored when the object goes away
  }
  Table table(folder.Path(), "PRUEBA");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 2u);
  table.Next();
  EXPECT_EQ(table.GetText("COD"), "B");
}

TEST(TableTest, ExclusiveOpensExcludeEveryOtherOpen) {
  TempFolder folder;
  MakeTable(folder);
  {
    Table first(folder.Path(), "PRUEBA.DBF");
    Table second(folder.Path(), "prueba.dbf");
    first.Open(OpenMode::kShared);
    EXPECT_NO_THROW(second.Open(OpenMode::kShared));
    second.Close();
    EXPECT_THROW(second.Open(OpenMode::kExclusive), RunError);
    first.Close();
    EXPECT_NO_THROW(second.Open(OpenMode::kExclusive));
    EXPECT_THROW(first.Open(OpenMode::kShared), RunError);
    EXPECT_THROW(MakeTable(folder), RunError) << "creating over a table in use";
  }
  Table table(folder.Path(), "PRUEBA");
  EXPECT_NO_THROW(table.Open(OpenMode::kExclusive));
}

TEST(TableTest, FieldsAreFoundByFullNameOrByTheirFirstTenCharacters) {
  TempFolder folder;
  Table table(folder.Path(), "NIVELEX.DBF");
  table.AddField({"X_OFERTAMATRIG", FieldType::kInteger, 0});
  table.AddField({"NIVEL_ABREV", FieldType::kCharacter, 10});
  table.Create();
  table.Open();
  table.Append();
  table.SetInt("X_OFERTAMATRIG", 7001);
  table.SetText("nivel_abrev", "1ESO");
  table.Close();
  EXPECT_EQ(testing::ReadBytes(folder.Path() / "NIVELEX.DBF")[0], '\x04');
  table.Open();
  ASSERT_TRUE(table.Locate({"X_OFERTAMATRIG"}, {"7001"}));
  EXPECT_EQ(table.GetText("NIVEL_ABREV"), "1ESO");
  EXPECT_EQ(table.Fields()[0].name, "X_OFERTAMATRIG");

  Table cut(folder.Path(), "CORTA");
  cut.AddField({"X_OFERTAMA", FieldType::kInteger, 0});
  cut.AddField({"NIVEL_ABRE", FieldType::kCharacter, 10});
  cut.Create();
  cut.Open();
  cut.Append();
  cut.SetInt("X_OFERTAMATRIG", 5);
  cut.SetText("NIVEL_ABREV", "2BACH");
  cut.Post();
  EXPECT_EQ(cut.GetText("X_OFERTAMATRIG"), "5");
  EXPECT_EQ(cut.GetText("NIVEL_ABREV"), "2BACH");
  EXPECT_THROW(cut.GetText("NIVEL_ABR"), RunError) << "only a whole 10-character name is a cut";
}

}  // namespace
}  // namespace tv::worktables
