#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "util/run_error.h"

namespace tv::app {
namespace {

namespace fs = std::filesystem;

std::string Update(std::string_view text) {
  return UpdateIniText(text, "Transformadores", "Transformado", "1");
}

TEST(UpdateIniText, ChangesOnlyTheOneLine) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"empty file", "", "[Transformadores]\r\nTransformado=1\r\n"},
      {"existing key, other lines kept byte for byte",
       "; Velorim\r\n[General]\r\nRuta=C:\\VX20\r\n\r\n[Transformadores]\r\n"
       "Transformado=-1\r\nOtro=\xE9\r\n",
       "; Velorim\r\n[General]\r\nRuta=C:\\VX20\r\n\r\n[Transformadores]\r\n"
       "Transformado=1\r\nOtro=\xE9\r\n"},
      {"names regardless of letter case, the key keeps its spelling",
       "[TRANSFORMADORES]\ntransformado = 0\n", "[TRANSFORMADORES]\ntransformado=1\n"},
      {"section without the key: after its last line, before the blank ones",
       "[Transformadores]\r\nOtro=2\r\n\r\n[Siguiente]\r\nA=1\r\n",
       "[Transformadores]\r\nOtro=2\r\nTransformado=1\r\n\r\n[Siguiente]\r\nA=1\r\n"},
      {"no such section, file without a final line end, LF style", "[General]\nA=1",
       "[General]\nA=1\n[Transformadores]\nTransformado=1\n"},
      {"a commented key and a key of another section do not count",
       "[Otra]\nTransformado=5\n[Transformadores]\n;Transformado=7\n",
       "[Otra]\nTransformado=5\n[Transformadores]\n;Transformado=7\nTransformado=1\n"},
      {"the first of two keys changes", "[Transformadores]\nTransformado=0\nTransformado=0\n",
       "[Transformadores]\nTransformado=1\nTransformado=0\n"},
      {"section header with blanks", "  [ transformadores ]  \r\n",
       "  [ transformadores ]  \r\nTransformado=1\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Update(c.before), c.after) << c.name;
  }
}

class WriteIniValueTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("tv_ini_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = folder_ / "Velorim.ini";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    // Windows deletes no read-only file.
    fs::permissions(file_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_);
  }
  std::string Read() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }

  fs::path folder_;
  fs::path file_;
};

TEST_F(WriteIniValueTest, CreatesAMissingFile) {
  WriteIniValue(file_, "Transformadores", "Transformado", "-1");
  EXPECT_EQ(Read(), "[Transformadores]\r\nTransformado=-1\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
      << "no temporary file left behind";
}

TEST_F(WriteIniValueTest, UpdatesAnExistingFile) {
  Write("# comentario\r\n[transformadores]\r\nTRANSFORMADO=1\r\n");
  WriteIniValue(file_, "Transformadores", "Transformado", "0");
  EXPECT_EQ(Read(), "# comentario\r\n[transformadores]\r\nTRANSFORMADO=0\r\n");
}

TEST_F(WriteIniValueTest, ARefusedFileStaysAsItWas) {
  Write("[Transformadores]\r\nTransformado=1\r\n");
  fs::permissions(file_, fs::perms::owner_read);
  if (std::ofstream(file_, std::ios::app)) GTEST_SKIP() << "permissions do not bind this user";
  try {
    WriteIniValue(file_, "Transformadores", "Transformado", "0");
    FAIL() << "a read-only file was written";
  } catch (const RunError& error) {
    EXPECT_EQ(error.message(), "Unable to write to " + file_.string());
  }
  EXPECT_EQ(Read(), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(WriteIniValueTest, AFolderThatCannotTakeTheFile) {
  // A folder in the place of the file: nothing can be written there, whoever runs this.
  fs::create_directories(file_);
  try {
    WriteIniValue(file_, "Transformadores", "Transformado", "0");
    FAIL() << "wrote over a folder";
  } catch (const RunError& error) {
    EXPECT_EQ(error.message(), "Unable to write to " + file_.string());
  }
  EXPECT_TRUE(fs::is_directory(file_));
}

}  // namespace
}  // namespace tv::app
