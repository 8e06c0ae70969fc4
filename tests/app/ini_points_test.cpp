// A kill or a failed write at any file operation of an update of Velorim.ini: the file is
// afterwards the old one or the updated one, and the next update clears what the stopped one
// left beside it. The updates run in a process of their own (this program, started with
// "write-ini FILE VALUE"), so that a kill does not end the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "app/ini_file.h"
#include "child_process.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::app {
namespace {

namespace fs = std::filesystem;
using testing_support::ChildRun;
using testing_support::RunChild;

constexpr const char* kOld =
    "[Velorim]\r\nCarpeta=C:\\QTEMP\r\n\r\n[Transformadores]\r\nTransformado=0\r\n";

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class IniPoints : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tv-ini-points-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_);
    ini_ = folder_ / "Velorim.ini";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  void WriteOld() {
    std::ofstream out(ini_, std::ios::binary | std::ios::trunc);
    out << kOld;
  }
  ChildRun Update(const std::string& variable = "", const std::string& value = "") {
    std::vector<std::pair<std::string, std::string>> environment;
    if (!variable.empty()) environment.emplace_back(variable, value);
    return RunChild(env::ProgramFolder() / self_name_, {"write-ini", ini_.string(), "1"},
                    environment);
  }
  void ExpectOldOrNew(const std::string& when) {
    const std::string now = Read(ini_);
    EXPECT_TRUE(now == kOld || now == new_) << when << ": " << now;
  }
  void ExpectNothingBeside(const std::string& when) {
    for (const auto& entry : fs::directory_iterator(folder_)) {
      EXPECT_EQ(entry.path().filename(), "Velorim.ini") << when;
    }
  }

 public:
  static std::string self_name_;

 protected:
  fs::path folder_, ini_;
  const std::string new_ = UpdateIniText(kOld, "Transformadores", "Transformado", "1");
};

std::string IniPoints::self_name_;

TEST_F(IniPoints, AKillAtAnyFileOperationLeavesTheOldOrTheUpdatedFile) {
  int n = 1;
  for (;; ++n) {
    WriteOld();
    const ChildRun run = Update("TRANSVELOR_TEST_CRASH_AT", std::to_string(n));
    if (run.status == 0) break;
    ASSERT_EQ(run.status, env::kTestCrashStatus) << "point " << n << ": " << run.output;
    ExpectOldOrNew("killed at operation " + std::to_string(n));
    ASSERT_EQ(Update().status, 0);
    EXPECT_EQ(Read(ini_), new_);
    ExpectNothingBeside("killed at operation " + std::to_string(n) + ", updated again");
  }
  EXPECT_GE(n, 5);
}

TEST_F(IniPoints, AFailureAtAnyFileOperationNamesTheFileAndLeavesTheOldOrTheUpdatedFile) {
  const char* const kinds[] = {"disk-full", "permission", "sharing"};
  for (int n = 1;; ++n) {
    WriteOld();
    const std::string fault = std::to_string(n) + ":" + kinds[n % 3];
    const ChildRun run = Update("TRANSVELOR_TEST_FAIL_AT", fault);
    if (run.status == 0 && Read(ini_) == new_) {
      // Past the last operation, or a failure only of clearing up after the update.
      WriteOld();
      if (Update("TRANSVELOR_TEST_CRASH_AT", std::to_string(n)).status == 0) break;
      continue;
    }
    EXPECT_EQ(run.status, 1) << fault << ": " << run.output;
    EXPECT_NE(run.output.find("Unable to write to " + ini_.string()), std::string::npos)
        << fault << ": " << run.output;
    ExpectOldOrNew(fault);
    ASSERT_EQ(Update().status, 0);
    ExpectNothingBeside(fault + ", updated again");
  }
}

}  // namespace
}  // namespace tv::app

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "write-ini") == 0) {
    try {
      tv::app::WriteIniValue(argv[2], "Transformadores", "Transformado", argv[3]);
      return 0;
    } catch (const tv::RunError& error) {
      std::cerr << error.message() << "\n";
      return 1;
    }
  }
  tv::app::IniPoints::self_name_ = std::filesystem::path(argv[0]).filename().string();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
