// What the fuzz targets share: a scratch folder of their own (in memory where the
// system offers one), writing bytes to a file, and a front end that answers every
// question and stops the run of the fuzzer when a run shows a C++ library's message in
// place of one of ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "util/user_interface.h"

namespace tv::fuzz {

// A fresh folder `name` for this process, emptied when it already exists.
std::filesystem::path ScratchFolder(const std::string& name);

void WriteBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// Removes everything inside a folder and keeps the folder.
void EmptyFolder(const std::filesystem::path& folder);

// NIVELEX.DBF in `program_folder`, with the course keys 6001 to 6006.
void WriteLevelTable(const std::filesystem::path& program_folder);

// Aborts when a message is no message of ours: empty, or beginning with a C++ library's
// text ("basic_string::...", "filesystem error: ...") that tells a school nothing.
void CheckPlainMessage(const std::string& text);

// Chooses the given file, takes the first two time frames of a file that offers a
// choice, and checks every message it is shown.
class FuzzUi : public UserInterface {
 public:
  explicit FuzzUi(std::filesystem::path file) : file_(std::move(file)) {}
  std::optional<std::filesystem::path> ChooseExchangeFile(const std::filesystem::path&) override {
    return file_;
  }
  void ShowMessage(const std::string& text) override {
    CheckPlainMessage(text);
    last_message = text;
  }
  void ShowError(const std::string& text) override {
    CheckPlainMessage(text);
    last_message = text;
  }
  FrameChoice ChooseFrames(const std::vector<TimeFrame>& frames) override;
  void SetBusy(bool) override {}

  std::string last_message;

 private:
  std::filesystem::path file_;
};

}  // namespace tv::fuzz
