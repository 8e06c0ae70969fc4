// The work folder: recreating and opening tables, and file names in any letter case.
#include "worktables/work_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_folder.h"
#include "util/run_error.h"

namespace tv::worktables {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(WorkFolderTest, RecreateReplacesTheTableInUpperCaseNames) {
  TempFolder folder;
  WorkFolder work(folder.Path());
  WriteBytes(folder.Path() / "asigt.dbf", "old");
  WriteBytes(folder.Path() / "asigt.mdx", "old");
  Table table = work.RecreateWorkTable("ASIGT", {{"CASIG", FieldType::kCharacter, 10}});
  EXPECT_FALSE(table.IsOpen());
  // The folder's own listing, so that the check holds where file names ignore letter case.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"ASIGT.DBF"});
  table.Open();
  EXPECT_EQ(table.RecordCount(), 0u);
  EXPECT_TRUE(table.Eof());
  table.Append();
  table.SetText("CASIG", "MAT");
  table.Close();

  Table reopened = work.OpenWorkTable("Asigt", OpenMode::kExclusive);
  EXPECT_TRUE(reopened.IsOpen());
  EXPECT_EQ(reopened.GetText("CASIG"), "MAT");
  EXPECT_EQ(reopened.DataFile(), folder.Path() / "ASIGT.DBF");
}

TEST(WorkFolderTest, FilesAreFoundAndDeletedWhateverTheirLetterCase) {
  TempFolder folder;
  WorkFolder work(folder.Path());
  WriteBytes(folder.Path() / "asigt.mdx", "x");
  EXPECT_TRUE(work.FileExists("ASIGT.MDX"));
  EXPECT_TRUE(work.DeleteFileIfExists("C:\\QTEMP\\ASIGT.MDX"));
  EXPECT_FALSE(work.FileExists("ASIGT.MDX"));
  EXPECT_FALSE(work.DeleteFileIfExists("ASIGT.MDX"));

  Table level(folder.Path(), "x");
  level.AddField({"A", FieldType::kCharacter, 2});
  level.Create();
  std::filesystem::rename(folder.Path() / "X.DBF", folder.Path() / "nivelex.DBF");
  Table table(folder.Path(), "NIVELEX.dbf");
  EXPECT_NO_THROW(table.Open());
}

TEST(WorkFolderTest, ATableInUseIsNeitherDeletedNorRecreated) {
  TempFolder folder;
  WorkFolder work(folder.Path());
  Table table = work.RecreateWorkTable("SOLUC", {{"PROF", FieldType::kCharacter, 10}});
  table.Open();
  table.Append();
  table.SetText("PROF", "ANA");
  table.Post();
  table.Close();
  Table holder = work.OpenWorkTable("SOLUC", OpenMode::kShared);
  EXPECT_FALSE(work.DeleteFileIfExists("SOLUC.DBF"));
  EXPECT_THROW(work.RecreateWorkTable("SOLUC", {{"OTRO", FieldType::kCharacter, 1}}), RunError);
  EXPECT_EQ(holder.GetText("PROF"), "ANA");
  EXPECT_EQ(holder.RecordCount(), 1u);
  holder.Close();
  EXPECT_TRUE(work.DeleteFileIfExists("soluc.dbf"));
}

TEST(WorkFolderTest, OpeningAMissingTableIsAnError) {
  TempFolder folder;
  WorkFolder work(folder.Path());
  try {
    work.OpenWorkTable("PERIODOS");
    FAIL() << "opened";
  } catch (const RunError& error) {
    EXPECT_NE(error.message().find("PERIODOS.DBF"), std::string::npos) << error.message();
  }
}

}  // namespace
}  // namespace tv::worktables
