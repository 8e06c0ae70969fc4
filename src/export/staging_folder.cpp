#include "export/staging_folder.h"

#include <algorithm>
#include <optional>

#include "util/env.h"
#include "util/run_error.h"

namespace tv {

namespace fs = std::filesystem;

namespace {

// A copy of the old files is kept here until the new ones are all in place.
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
    fs::path from;  // in the staging folder
    fs::path to;    // in the work folder
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
    if (const env::FileKind kind = env::KindOfFile(file); kind != env::FileKind::kRegularFile) {
      throw RunError("No se puede reemplazar " + env::PathText(file) + ": es " +
                     env::FileKindText(kind) +
                     ", no un archivo. Qu\xEDtelo de la carpeta de trabajo y vuelva a exportar; "
                     "la carpeta de trabajo no ha cambiado.");
    }
    try {
      env::TableFile held = env::TableFile::Open(file, env::ShareMode::kExclusive);
    } catch (const RunError& error) {
      throw RunError("No se puede reemplazar " + env::PathText(file) +
                     ": otro programa (Velorim?) la tiene abierta. Ci\xE9rrelo y vuelva a "
                     "exportar; la carpeta de trabajo no ha cambiado.\n" +
                     error.message());
    }
  }

  // A copy of every old file is kept (a second link to it, or else a copy) until the
  // new files are all in. Each new file then replaces its old one in a single step, so
  // the folder never lacks a table, and should a step fail the old files go back.
  const fs::path previous = staging_ / kPreviousFolder;
  fs::create_directory(previous);
  for (const fs::path& file : old_files) {
    std::error_code ec;
    fs::create_hard_link(file, previous / file.filename(), ec);
    if (ec) fs::copy_file(file, previous / file.filename());
  }
  std::vector<fs::path> replaced;  // work-folder files changed so far
  auto undo = [&]() noexcept {
    for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
      try {
        const fs::path kept = previous / it->filename();
        std::error_code ec;
        if (fs::exists(kept, ec)) {
          env::ReplaceFile(kept, *it);
        } else {
          fs::remove(*it, ec);  // a new table where there was none
        }
      } catch (...) {
        // Nothing more can be done for this file; the others are still put back.
      }
    }
  };
  try {
    for (const Move& move : new_files) {
      env::ReplaceFile(move.from, move.to);
      replaced.push_back(move.to);
    }
    for (const fs::path& file : old_files) {
      if (std::find(replaced.begin(), replaced.end(), file) != replaced.end()) continue;
      fs::remove(file);
      replaced.push_back(file);
    }
  } catch (...) {
    undo();
    throw;
  }
}

}  // namespace tv
