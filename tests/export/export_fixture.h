// Test fixtures of the export: exchange files written from a few blocks, a front end
// that answers from a script, a program folder with a level table, and reading tables
// and whole folders back.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/run_outcome.h"
#include "util/user_interface.h"

namespace tv::testing_export {

// A data block: its seq and its records, each a list of field texts (UTF-8).
struct Block {
  std::string seq;
  std::vector<std::vector<std::string>> records;
};

// An exchange file holding these blocks, in this order.
std::string ExchangeXml(const std::vector<Block>& blocks);

// One frame "1" with one slot, so that a file passes the time-slot step.
Block OneFrame();
Block OneSlot();

class FakeUi : public UserInterface {
 public:
  std::optional<std::filesystem::path> file;  // what ChooseExchangeFile answers
  std::deque<FrameChoice> frame_answers;      // ChooseFrames answers, in turn
  std::vector<std::string> messages;          // in code page 1252
  std::vector<std::string> errors;
  int frame_questions = 0;
  std::vector<TimeFrame> frames_shown;  // what the last question showed
  std::vector<bool> busy;

  std::optional<std::filesystem::path> ChooseExchangeFile(const std::filesystem::path&) override {
    return file;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) override;
  void SetBusy(bool on) override { busy.push_back(on); }
};

// The level rows of the test programs: (X_OFERTAMATRIG, NIVEL_ABREV, ESTUDIO).
using LevelRows = std::vector<std::tuple<int, std::string, std::string>>;

// A fresh temporary folder with a work folder and a program folder holding a level table.
class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes NIVELEX.DBF with these rows (field names as given, e.g. cut to ten).
  void WriteLevelTable(const LevelRows& rows, const std::string& key_field = "X_OFERTAMATRIG",
                       const std::string& level_field = "NIVEL_ABREV");

  // Writes the exchange file and runs the export on it; the file becomes ui.file.
  RunReport Export(const std::string& xml);
  RunReport Export(const std::vector<Block>& blocks);

  // The rows of a work table, each as the texts of the named fields.
  std::vector<std::vector<std::string>> ReadRows(const std::string& table,
                                                 const std::vector<std::string>& fields) const;
  // One field of every row.
  std::vector<std::string> Column(const std::string& table, const std::string& field) const;

  std::filesystem::path root_;
  RunFolders folders_;
  FakeUi ui_;
  std::filesystem::path selected_;
};

// Every file below a folder with its bytes, by relative path.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder);

// Code page 1252 from UTF-8, for expected texts.
std::string L(const std::string& utf8);

}  // namespace tv::testing_export
