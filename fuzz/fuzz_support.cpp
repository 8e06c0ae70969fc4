#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "exchange/xml_document.h"
#include "export/time_frames.h"
#include "util/run_error.h"
#include "worktables/table.h"

namespace tv::fuzz {

namespace fs = std::filesystem;

fs::path ScratchFolder(const std::string& name) {
  std::error_code ec;
  const fs::path memory = "/dev/shm";
  const fs::path base = fs::is_directory(memory, ec) ? memory : fs::temp_directory_path();
  // One folder per process, so that runs of one target side by side keep apart; removed
  // when the fuzzer ends.
  static std::vector<fs::path> made;
  static const unsigned run = std::random_device()();
  const fs::path folder = base / ("transvelor-fuzz-" + name + "-" + std::to_string(run));
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  if (made.empty()) {
    std::atexit([] {
      std::error_code ignored;
      for (const fs::path& path : made) fs::remove_all(path, ignored);
    });
  }
  made.push_back(folder);
  return folder;
}

void WriteBytes(const fs::path& file, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  WriteBytes(file, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void EmptyFolder(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);
}

void WriteLevelTable(const fs::path& program_folder) {
  using worktables::FieldType;
  worktables::Table table(program_folder, "NIVELEX.DBF");
  table.AddField({"X_OFERTAMATRIG", FieldType::kInteger, 0});
  table.AddField({"NIVEL_ABREV", FieldType::kCharacter, 10});
  table.AddField({"ESTUDIO", FieldType::kCharacter, 100});
  table.Create();
  table.Open(worktables::OpenMode::kExclusive);
  for (int key = 6001; key <= 6006; ++key) {
    table.Append();
    table.SetInt("X_OFERTAMATRIG", key);
    table.SetText("NIVEL_ABREV", "ESO");
    table.SetText("ESTUDIO", "Secundaria");
    table.Post();
  }
  table.Close();
}

void CheckPlainMessage(const std::string& text) {
  // Our messages begin with our own words (or a quoted value). A C++ library's text shows
  // at the start of what the export shows, and after "Error al importar <file>: " in the
  // import's fallback for failures outside its own checks.
  static const char* const kLibraryStarts[] = {
      "std::", "basic_string", "filesystem error", "bad_alloc",         "vector", "map::", "stoi",
      "stol",  "stod",         "unordered_map",    "Error al importar "};
  bool plain = !text.empty();
  for (const char* start : kLibraryStarts) plain = plain && text.rfind(start, 0) != 0;
  if (!plain) {
    std::fprintf(stderr, "a run showed a message that is not ours: '%s'\n", text.c_str());
    std::abort();
  }
}

FrameChoice FuzzUi::ChooseFrames(const std::vector<TimeFrame>& frames) {
  // The first one or two frames, as a user who takes what is offered would.
  std::vector<std::string> chosen;
  for (const TimeFrame& frame : frames) {
    chosen.push_back(frame.code);
    if (chosen.size() == 2) break;
  }
  if (chosen.empty()) return {FrameChoice::Kind::kCancelled, {}};
  return {FrameChoice::Kind::kAccepted, chosen};
}

}  // namespace tv::fuzz
