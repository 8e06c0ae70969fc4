#include "export/staging_folder.h"

#include <algorithm>
#include <optional>

#include "util/env.h"
#include "util/run_error.h"

namespace tv {

namespace fs = std::filesystem;

namespace {

// Old files are kept here until the new ones are all in place.
constexpr const char* kPreviousFolder = "anteriores";

void RemoveAll(const fs::path& folder) noexcept {
  std::error_code ec;
  fs::remove_all(folder, ec);
}

}  // namespace

StagingFolder::StagingFolder(fs::path work_folder)
    : work_folder_(std::move(work_folder)), staging_(work_folder_ / kName) {
  std::error_code ec;
  if (!fs::is_directory(work_folder_, ec)) {
    throw RunError("No existe la carpeta de trabajo " + env::PathText(work_folder_));
  }
  fs::remove_all(staging_, ec);
  if (!fs::create_directory(staging_, ec) || ec) {
    throw RunError("No se puede crear la carpeta " + env::PathText(staging_) + ": " + ec.message());
  }
}

StagingFolder::~StagingFolder() { RemoveAll(staging_); }

void StagingFolder::Commit(const std::vector<std::string>& obsolete) {
  struct Move {
    fs::path from;
    fs::path to;
  };
  std::vector<fs::path> staged;
  for (const auto& entry : fs::directory_iterator(staging_)) {
    if (entry.is_regular_file()) staged.push_back(entry.path());
  }
  std::sort(staged.begin(), staged.end());

  // The old files: those the new ones replace, and those no table uses any more.
  std::vector<fs::path> old_files;
  std::vector<Move> new_files;
  for (const fs::path& file : staged) {
    const std::string name = file.filename().string();
    const auto existing = env::FindFileNoCase(work_folder_, name);
    if (existing) old_files.push_back(*existing);
    new_files.push_back({file, existing ? *existing : work_folder_ / name});
  }
  for (const std::string& name : obsolete) {
    if (const auto existing = env::FindFileNoCase(work_folder_, name)) {
      if (std::find(old_files.begin(), old_files.end(), *existing) == old_files.end()) {
        old_files.push_back(*existing);
      }
    }
  }

  // Nothing is touched while another program holds one of them.
  for (const fs::path& file : old_files) {
    try {
      env::TableFile held = env::TableFile::Open(file, env::ShareMode::kExclusive);
    } catch (const RunError& error) {
      throw RunError("No se puede reemplazar " + env::PathText(file) +
                     ": otro programa (Velorim?) la tiene abierta. Ci\xE9rrelo y vuelva a "
                     "exportar; la carpeta de trabajo no ha cambiado.\n" +
                     error.message());
    }
  }

  const fs::path previous = staging_ / kPreviousFolder;
  fs::create_directory(previous);
  std::vector<Move> done;
  auto undo = [&]() noexcept {
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      try {
        env::ReplaceFile(it->to, it->from);
      } catch (...) {
        // Nothing more can be done for this file; the others are still put back.
      }
    }
  };
  try {
    for (const fs::path& file : old_files) {
      const Move move{file, previous / file.filename()};
      env::ReplaceFile(move.from, move.to);
      done.push_back(move);
    }
    for (const Move& move : new_files) {
      env::ReplaceFile(move.from, move.to);
      done.push_back(move);
    }
  } catch (...) {
    undo();
    throw;
  }
}

}  // namespace tv
