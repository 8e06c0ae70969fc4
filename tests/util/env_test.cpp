#include "util/env.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "util/run_error.h"

namespace tv::env {
namespace {

namespace fs = std::filesystem;

// A fresh folder for one test, under a name with Spanish letters: work folders and exchange
// files live in such folders ("Horarios ñ", "Jefatura á").
class EnvFiles : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / fs::path(u8"tv env ñá");
    folder_ += std::string(" ") + info->name() + " " +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  static void Write(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good());
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path folder_;
};

TEST_F(EnvFiles, FilesUnderAccentedNamesAreWrittenAndReadBack) {
  const fs::path file = folder_ / fs::path(u8"Año ñandú.xml");
  Write(file, "contenido");
  EXPECT_EQ(Read(file), "contenido");
  // The name on disk is the one asked for, not a mangled spelling of it.
  bool listed = false;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    listed = listed || entry.path().filename().u8string() == u8"Año ñandú.xml";
  }
  EXPECT_TRUE(listed);
}

TEST_F(EnvFiles, FindFileNoCaseIgnoresLetterCase) {
  Write(folder_ / "asigt.dbf", "x");
  const auto found = FindFileNoCase(folder_, "ASIGT.DBF");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(Read(*found), "x");
  EXPECT_EQ(FindFileNoCase(folder_, "asigt.dbf").value().parent_path(), folder_);
  EXPECT_FALSE(FindFileNoCase(folder_, "PROFT.DBF").has_value());
  EXPECT_FALSE(FindFileNoCase(folder_ / "missing", "ASIGT.DBF").has_value());
}

#ifdef _WIN32
// The core's names are code page 1252 texts; Windows names files in Unicode.
TEST_F(EnvFiles, FindFileNoCaseTakesCodePage1252Names) {
  Write(folder_ / fs::path(u8"MAÑANA.DBF"), "m");
  const auto found = FindFileNoCase(folder_,
                                    "MA\xD1"
                                    "ANA.DBF");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(Read(*found), "m");
}

#endif

TEST_F(EnvFiles, ReplaceFileReplacesTheTargetInOneStep) {
  const fs::path staged = folder_ / "ASIGT.new";
  const fs::path target = folder_ / "ASIGT.DBF";
  Write(target, "old");
  Write(staged, "new");
  ReplaceFile(staged, target);
  EXPECT_EQ(Read(target), "new");
  EXPECT_FALSE(fs::exists(staged));

  // A target that does not exist yet is simply created.
  const fs::path fresh = folder_ / fs::path(u8"ResultadoVelorAño.xml");
  Write(staged, "first");
  ReplaceFile(staged, fresh);
  EXPECT_EQ(Read(fresh), "first");
}

TEST_F(EnvFiles, ReplaceFileFailureNamesTheTarget) {
  const fs::path target = folder_ / "PROFT.DBF";
  Write(target, "kept");
  try {
    ReplaceFile(folder_ / "NOTHERE.new", target);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(e.message().find("No se puede reemplazar"), std::string::npos) << e.message();
    EXPECT_NE(e.message().find("PROFT.DBF"), std::string::npos) << e.message();
  }
  EXPECT_EQ(Read(target), "kept");
}

TEST(Env, ProgramFolderHoldsTheRunningProgram) {
  const fs::path folder = ProgramFolder();
  EXPECT_TRUE(folder.is_absolute());
  EXPECT_TRUE(fs::exists(folder / "tv_util_tests") || fs::exists(folder / "tv_util_tests.exe"))
      << folder;
}

TEST(Env, LocalDateTimeTextIsADateABlankAndATime) {
  const std::string text = LocalDateTimeText();
  const auto blank = text.find(' ');
  ASSERT_NE(blank, std::string::npos) << text;
  EXPECT_NE(text.substr(0, blank).find_first_of("0123456789"), std::string::npos) << text;
  EXPECT_NE(text.substr(blank + 1).find_first_of("0123456789"), std::string::npos) << text;
}

#ifdef _WIN32
TEST(Env, TheWorkFolderIsQtempOnDriveC) { EXPECT_EQ(DefaultWorkFolder(), fs::path(L"C:\\QTEMP")); }
#endif

}  // namespace
}  // namespace tv::env
