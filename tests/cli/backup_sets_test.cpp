// The backup sets an export leaves and `transvelor restore`, run as a user runs them.
#include "worktables/backup_sets.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "child_process.h"
#include "small_school.h"
#include "util/env.h"

namespace tv {
namespace {

namespace fs = std::filesystem;
using testing_support::BuildProgram;
using testing_support::ChildRun;
using testing_support::Read;
using testing_support::RunChild;
using testing_support::SmallSchool;
using testing_support::Write;
using worktables::kBackupFolderName;

using Files = std::map<std::string, std::string>;

// The plain files directly in a folder.
Files Tables(const fs::path& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = Read(entry.path());
  }
  return files;
}

class BackupSets : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    scratch_ = fs::temp_directory_path() /
               ("tv-backup-sets-" + std::string(info->name()) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    work_ = scratch_ / "work";
    fs::create_directories(work_);
    Write(scratch_ / "a.xml", SmallSchool(1));
    Write(scratch_ / "b.xml", SmallSchool(2));
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(scratch_, ec);
  }

  ChildRun Transvelor(std::vector<std::string> arguments) {
    arguments.push_back("--work-folder");
    arguments.push_back(work_.string());
    return RunChild(BuildProgram("transvelor"), arguments);
  }
  void Export(const std::string& school) {
    const ChildRun run = Transvelor({"export", (scratch_ / school).string(), "--program-folder",
                                     env::ProgramFolder().string()});
    ASSERT_EQ(run.status, 0) << run.output;
  }

  fs::path scratch_, work_;
};

TEST_F(BackupSets, ARestoreBringsBackTheReplacedTablesAndCanBeUndone) {
  Export("a.xml");
  // Velorim's solution, which nothing here may touch.
  Write(work_ / "SOLUC.DBF", "the solution");
  const Files a = Tables(work_);
  EXPECT_FALSE(fs::exists(work_ / kBackupFolderName));  // nothing was replaced
  Export("b.xml");
  const Files b = Tables(work_);
  ASSERT_NE(a, b);

  ChildRun run = Transvelor({"restore", "--list"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("exportación de " + (scratch_ / "b.xml").string()), std::string::npos)
      << run.output;

  run = Transvelor({"restore"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Tables(work_), a);
  run = Transvelor({"restore"});  // the newest set now holds school B's tables
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Tables(work_), b);

  // Each restore kept what it replaced: the export's set and two of its own.
  const auto sets = worktables::ListBackupSets(work_);
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0].description.run, "restauraci\xF3n");
  EXPECT_EQ(sets[0].description.read, "copia " + sets[1].name);
  for (const auto& set : sets) {
    EXPECT_EQ(set.state, worktables::SetState::kComplete) << set.name << ": " << set.problem;
    for (const std::string& file : set.description.files) EXPECT_NE(file, "SOLUC.DBF");
  }
  // A set restored by name, the export's own: school A again.
  ASSERT_EQ(Transvelor({"restore", sets[2].name}).status, 0);
  EXPECT_EQ(Tables(work_), a);
}

TEST_F(BackupSets, AHeldTableRefusesTheRestoreAndChangesNothing) {
  Export("a.xml");
  Export("b.xml");
  const Files b = Tables(work_);
  const auto before = worktables::ListBackupSets(work_);
  {
    const env::TableFile held = env::TableFile::Open(work_ / "PROFT.DBF", env::ShareMode::kShared);
    const ChildRun run = Transvelor({"restore"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("PROFT.DBF"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("vuelva a restaurar"), std::string::npos) << run.output;
  }
  EXPECT_EQ(Tables(work_), b);
  EXPECT_EQ(worktables::ListBackupSets(work_).size(), before.size());
}

TEST_F(BackupSets, TheNewestTenStayAndWhatTheProgramDidNotMakeIsListedAndKept) {
  const fs::path backups = work_ / kBackupFolderName;
  // Ours by name, but its description is gone: damaged, and kept as it is.
  fs::create_directories(backups / "20200101-000000");
  Write(backups / "20200101-000000" / "PROFT.DBF", "a teacher table");
  fs::create_directories(backups / "Mis copias");
  Write(backups / "notas.txt", "mine");
  for (int i = 0; i < 12; ++i) Export(i % 2 == 0 ? "a.xml" : "b.xml");

  const auto sets = worktables::ListBackupSets(work_);
  ASSERT_EQ(sets.size(), 13u);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(sets[i].state, worktables::SetState::kComplete);
  EXPECT_EQ(sets[10].name, "20200101-000000");
  EXPECT_EQ(sets[10].state, worktables::SetState::kDamaged);
  EXPECT_EQ(sets[11].name, "Mis copias");
  EXPECT_EQ(sets[11].state, worktables::SetState::kForeign);
  EXPECT_EQ(sets[12].name, "notas.txt");
  EXPECT_EQ(Read(backups / "notas.txt"), "mine");
  EXPECT_EQ(Read(backups / "20200101-000000" / "PROFT.DBF"), "a teacher table");

  const ChildRun list = Transvelor({"restore", "--list"});
  EXPECT_NE(list.output.find("20200101-000000  DAÑADA"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find("notas.txt  AJENA"), std::string::npos) << list.output;
  const ChildRun refused = Transvelor({"restore", "20200101-000000"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find("no se puede restaurar"), std::string::npos) << refused.output;
}

}  // namespace
}  // namespace tv
