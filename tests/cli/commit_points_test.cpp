// A kill or a failed write at any file operation of an export or an import, counted one by
// one: the work folder is afterwards the old set or the new set of tables, byte for byte,
// and an earlier result file the old one or the new one; what the stopped run left behind
// is gone once the next run has started.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "small_school.h"
#include "util/env.h"
#include "util/run_error.h"
#include "worktables/backup_sets.h"
#include "worktables/folder_commit.h"

namespace tv {
namespace {

namespace fs = std::filesystem;
using testing_support::BuildProgram;
using testing_support::ChildRun;
using testing_support::Read;
using testing_support::RunChild;
using testing_support::SmallSchool;
using testing_support::Write;

using Files = std::map<std::string, std::string>;  // name -> content

// The plain files of a folder, and separately every other name in it (folders, and the
// names the program keeps for itself while it works, which start with a dot).
Files Snapshot(const fs::path& folder, std::vector<std::string>* others = nullptr) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name[0] != '.') {
      files[name] = Read(entry.path());
    } else if (others) {
      others->push_back(name);
    }
  }
  return files;
}

std::string Names(const Files& files) {
  std::string names;
  for (const auto& [name, content] : files) names += name + " ";
  return names;
}

void CopyFolder(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  // Entry by entry: MinGW's copy of a folder into an existing one fails ("File exists").
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
  }
}

// The failures the test aid can make, taken in turn.
const char* const kFaultKinds[] = {"disk-full", "permission", "sharing"};

class CommitPoints : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    scratch_ = fs::temp_directory_path() /
               ("tv-commit-points-" + std::string(info->name()) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(scratch_ / "in");
    Write(scratch_ / "in" / "a.xml", SmallSchool(1));
    Write(scratch_ / "in" / "b.xml", SmallSchool(2));
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(scratch_, ec);
  }

  ChildRun Transvelor(const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    return RunChild(BuildProgram("transvelor"), arguments, environment);
  }
  ChildRun Export(const std::string& school, const fs::path& work,
                  const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    return Transvelor({"export", (scratch_ / "in" / school).string(), "--work-folder",
                       work.string(), "--program-folder", env::ProgramFolder().string()},
                      environment);
  }
  ChildRun Import(const fs::path& input, const fs::path& work,
                  const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    return Transvelor({"import", input.string(), "--work-folder", work.string()}, environment);
  }

  // How many file operations a run makes: the first crash point it gets past, less one.
  template <typename Run>
  static int OperationCount(Run run) {
    int low = 0, high = 1;  // the run gets past `high` crash points? Doubling, then halving.
    while (run({{"TRANSVELOR_TEST_CRASH_AT", std::to_string(high)}}).status ==
           env::kTestCrashStatus) {
      low = high;
      high *= 2;
    }
    while (high - low > 1) {
      const int middle = (low + high) / 2;
      if (run({{"TRANSVELOR_TEST_CRASH_AT", std::to_string(middle)}}).status ==
          env::kTestCrashStatus) {
        low = middle;
      } else {
        high = middle;
      }
    }
    return low;
  }

  // Whether a message names a file of the run: in the scratch folder or the program's own.
  bool NamesAFile(const std::string& message) const {
    return message.find(scratch_.string()) != std::string::npos ||
           message.find(env::ProgramFolder().string()) != std::string::npos;
  }

  fs::path scratch_;
};

// An export of school B over an earlier export of school A (with a frame table of an older
// version beside it, which the export removes), stopped or failed at each file operation.
class ExportPoints : public CommitPoints {
 protected:
  void SetUp() override {
    CommitPoints::SetUp();
    old_folder_ = scratch_ / "old";
    fs::create_directories(old_folder_);
    ASSERT_EQ(Export("a.xml", old_folder_).status, 0);
    Write(old_folder_ / "JORNADAS.DBF", "a frame table of an older version");
    old_ = Snapshot(old_folder_);
    const fs::path reference = scratch_ / "reference";
    CopyFolder(old_folder_, reference);
    const ChildRun run = Export("b.xml", reference);
    ASSERT_EQ(run.status, 0) << run.output;
    new_ = Snapshot(reference);
    ASSERT_NE(old_, new_);
    ASSERT_EQ(new_.count("JORNADAS.DBF"), 0u);
    work_ = scratch_ / "work";
  }

  // The folder is the old set or the new set, and nothing else is left in it. With the new
  // set, the old one is a complete backup set; with the old set, no set was made.
  void ExpectOldOrNew(const std::string& when) {
    std::vector<std::string> others;
    const Files now = Snapshot(work_, &others);
    std::erase(others, worktables::kBackupFolderName);
    EXPECT_TRUE(now == old_ || now == new_) << when << ": a mixed folder: " << Names(now);
    EXPECT_TRUE(others.empty()) << when << ": left behind: " << others.front();
    const auto sets = worktables::ListBackupSets(work_);
    if (now == new_) {
      ASSERT_EQ(sets.size(), 1u) << when;
      EXPECT_EQ(sets[0].state, worktables::SetState::kComplete) << when << ": " << sets[0].problem;
      Files kept = Snapshot(work_ / worktables::kBackupFolderName / sets[0].name);
      kept.erase(worktables::kSetDescriptionName);
      EXPECT_EQ(kept, old_) << when;
    } else {
      EXPECT_TRUE(sets.empty()) << when << ": " << sets.front().name;
    }
  }

  fs::path old_folder_, work_;
  Files old_, new_;
};

// Kills and failures are suites of their own, so that each fits a test's time under Wine.
using ExportKills = ExportPoints;
using ExportFailures = ExportPoints;

TEST_F(ExportKills, AKillAtAnyFileOperationLeavesTheOldOrTheNewTables) {
  int n = 1;
  for (;; ++n) {
    CopyFolder(old_folder_, work_);
    const ChildRun run = Export("b.xml", work_, {{"TRANSVELOR_TEST_CRASH_AT", std::to_string(n)}});
    if (run.status == 0) break;  // past the last operation
    ASSERT_EQ(run.status, env::kTestCrashStatus) << "point " << n << ": " << run.output;
    worktables::CompleteInterruptedCommit(work_);
    ExpectOldOrNew("killed at operation " + std::to_string(n) + ", recovered");
    const ChildRun next = Export("b.xml", work_);
    ASSERT_EQ(next.status, 0) << "point " << n << ": " << next.output;
    EXPECT_EQ(Snapshot(work_), new_) << "point " << n;
  }
  // The commit itself (record, moves, removals) lies among the points.
  EXPECT_GT(n, 40);
}

TEST_F(ExportFailures, AFailureAtAnyFileOperationNamesTheFileAndLeavesTheOldOrTheNewTables) {
  const int count = OperationCount([&](const std::vector<std::pair<std::string, std::string>>& e) {
    CopyFolder(old_folder_, work_);
    return Export("b.xml", work_, e);
  });
  ASSERT_GT(count, 40);
  for (int n = 1; n <= count; ++n) {
    CopyFolder(old_folder_, work_);
    const std::string fault = std::to_string(n) + ":" + kFaultKinds[n % 3];
    const ChildRun run = Export("b.xml", work_, {{"TRANSVELOR_TEST_FAIL_AT", fault}});
    const std::string when = "failure " + fault;
    if (run.status == 0) {
      // Only clearing up after a complete commit may fail without failing the run.
      EXPECT_EQ(Snapshot(work_), new_) << when;
    } else {
      EXPECT_EQ(run.status, 1) << when << ": " << run.output;
      EXPECT_TRUE(NamesAFile(run.output)) << when << ": the message names no file: " << run.output;
      const Files now = Snapshot(work_);
      EXPECT_TRUE(now == old_ || now == new_) << when << ": a mixed folder: " << Names(now);
    }
    worktables::CompleteInterruptedCommit(work_);
    ExpectOldOrNew(when + ", recovered");
  }
}

// The put-back of a failed commit, step by step: the folder is the old set right after
// the failing run, for every operation of the commit's moves.
TEST_F(ExportFailures, AFailedMoveOfTheCommitPutsTheOldTablesBack) {
  const int count = OperationCount([&](const std::vector<std::pair<std::string, std::string>>& e) {
    CopyFolder(old_folder_, work_);
    return Export("b.xml", work_, e);
  });
  int put_back = 0;
  for (int n = 1; n <= count; ++n) {
    CopyFolder(old_folder_, work_);
    const ChildRun run =
        Export("b.xml", work_, {{"TRANSVELOR_TEST_FAIL_AT", std::to_string(n) + ":sharing"}});
    // The failures of the moves themselves, not of the checks or the record before them.
    if (run.output.find("No se puede reemplazar") == std::string::npos ||
        run.output.find("otro programa") != std::string::npos ||
        run.output.find(".transvelor-commit") != std::string::npos) {
      continue;
    }
    ++put_back;
    EXPECT_EQ(Snapshot(work_), old_) << "failure at " << n << ": " << run.output;
    ExpectOldOrNew("failure at " + std::to_string(n));
  }
  // One failed move per new table at least.
  EXPECT_GE(put_back, 9);
}

// An import of school A's tables over an earlier result file, stopped or failed at each file
// operation: the result is the old one or the new one, and no temporary file survives the
// next import.
class ImportPoints : public CommitPoints {
 protected:
  void SetUp() override {
    CommitPoints::SetUp();
    work_ = scratch_ / "work";
    fs::create_directories(work_);
    ASSERT_EQ(Export("a.xml", work_).status, 0);
    const ChildRun solved =
        RunChild(BuildProgram("sample-solver"), {"--work-folder", work_.string()});
    ASSERT_EQ(solved.status, 0) << solved.output;
    tables_ = Snapshot(work_);
    input_ = scratch_ / "in" / "a.xml";
    output_ = scratch_ / "in" / "ResultadoVelora.xml";
    const ChildRun run = Import(input_, work_);
    ASSERT_EQ(run.status, 0) << run.output;
    new_ = WithoutDate(Read(output_));
    Write(output_, old_);
  }

  // The result file carries the time it was written.
  static std::string WithoutDate(const std::string& text) {
    return std::regex_replace(text, std::regex("fecha=\"[^\"]*\""), "fecha=\"\"");
  }

  void ExpectOldOrNewResult(const std::string& when) {
    const std::string now = Read(output_);
    EXPECT_TRUE(now == old_ || WithoutDate(now) == new_) << when << ": " << now.substr(0, 200);
  }

  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch_ / "in")) {
      const std::string name = entry.path().filename().string();
      if (name != "a.xml" && name != "b.xml" && name != output_.filename().string()) {
        names.push_back(name);
      }
    }
    return names;
  }

  fs::path work_, input_, output_;
  Files tables_;
  const std::string old_ = "<resultado anterior/>\n";
  std::string new_;
};

using ImportKills = ImportPoints;
using ImportFailures = ImportPoints;

TEST_F(ImportKills, AKillAtAnyFileOperationLeavesTheOldOrTheNewResult) {
  int n = 1;
  for (;; ++n) {
    Write(output_, old_);
    const ChildRun run = Import(input_, work_, {{"TRANSVELOR_TEST_CRASH_AT", std::to_string(n)}});
    if (run.status == 0) break;
    ASSERT_EQ(run.status, env::kTestCrashStatus) << "point " << n << ": " << run.output;
    ExpectOldOrNewResult("killed at operation " + std::to_string(n));
    const ChildRun next = Import(input_, work_);
    ASSERT_EQ(next.status, 0) << "point " << n << ": " << next.output;
    EXPECT_EQ(WithoutDate(Read(output_)), new_) << "point " << n;
    EXPECT_EQ(Leftovers(), std::vector<std::string>()) << "point " << n;
  }
  EXPECT_GT(n, 10);
  EXPECT_EQ(Snapshot(work_), tables_);
}

TEST_F(ImportFailures, AFailureAtAnyFileOperationNamesTheFileAndLeavesTheOldOrTheNewResult) {
  const int count = OperationCount([&](const std::vector<std::pair<std::string, std::string>>& e) {
    Write(output_, old_);
    return Import(input_, work_, e);
  });
  ASSERT_GT(count, 10);
  for (int n = 1; n <= count; ++n) {
    Write(output_, old_);
    const std::string fault = std::to_string(n) + ":" + kFaultKinds[n % 3];
    const ChildRun run = Import(input_, work_, {{"TRANSVELOR_TEST_FAIL_AT", fault}});
    const std::string when = "failure " + fault;
    if (run.status == 0) {
      EXPECT_EQ(WithoutDate(Read(output_)), new_) << when;
    } else {
      EXPECT_EQ(run.status, 1) << when << ": " << run.output;
      EXPECT_TRUE(NamesAFile(run.output)) << when << ": the message names no file: " << run.output;
      ExpectOldOrNewResult(when);
    }
    ASSERT_EQ(Import(input_, work_).status, 0) << when;
    EXPECT_EQ(Leftovers(), std::vector<std::string>()) << when;
  }
  EXPECT_EQ(Snapshot(work_), tables_);
}

}  // namespace
}  // namespace tv
