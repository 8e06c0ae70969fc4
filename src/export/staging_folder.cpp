#include "export/staging_folder.h"

#include <algorithm>
#include <optional>

#include "util/env.h"
#include "util/run_error.h"
#include "worktables/folder_commit.h"

namespace tv {

namespace fs = std::filesystem;

StagingFolder::StagingFolder(fs::path work_folder)
    : work_folder_(std::move(work_folder)), staging_(work_folder_ / kName) {
  std::error_code ec;
  if (!fs::is_directory(work_folder_, ec)) {
    throw RunError("No existe la carpeta de trabajo " + env::PathText(work_folder_));
  }
  // An interrupted run is finished first; what it left here goes with it.
  worktables::CompleteInterruptedCommit(work_folder_);
  try {
    env::MakeFolder(staging_);
  } catch (const RunError& error) {
    throw RunError("No se puede crear la carpeta " + env::PathText(staging_) + ": " +
                   error.message());
  }
}

StagingFolder::~StagingFolder() {
  try {
    env::RemoveFolder(staging_);
  } catch (const std::exception&) {
    // Left for the next run, which clears it before it starts.
  }
}

std::string StagingFolder::Commit(const std::vector<std::string>& obsolete,
                                  worktables::SetDescription backup, const std::string& again) {
  worktables::CommitRecord record;
  record.staging = kName;
  std::vector<std::string> replaced;
  for (const fs::path& file : env::FolderFiles(staging_)) {
    const std::string name = file.filename().string();
    const auto existing = env::FindFileNoCase(work_folder_, name);
    const std::string target = existing ? existing->filename().string() : name;
    record.moves.push_back({name, target});
    if (existing) replaced.push_back(target);
  }
  for (const std::string& name : obsolete) {
    if (const auto existing = env::FindFileNoCase(work_folder_, name)) {
      const std::string found = existing->filename().string();
      if (std::find(replaced.begin(), replaced.end(), found) == replaced.end() &&
          std::find(record.drops.begin(), record.drops.end(), found) == record.drops.end()) {
        record.drops.push_back(found);
      }
    }
  }

  // Nothing is touched while another program holds one of the old files, or while one of
  // them is no file at all (a folder by the table's name).
  std::vector<std::string> old_files = replaced;
  old_files.insert(old_files.end(), record.drops.begin(), record.drops.end());
  for (const std::string& name : old_files) {
    const fs::path file = work_folder_ / name;
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
                     ": otro programa (Velorim?) la tiene abierta. Ci\xE9rrelo y vuelva a " +
                     again + "; la carpeta de trabajo no ha cambiado.\n" + error.message());
    }
  }

  if (!old_files.empty()) record.backup = worktables::NewSetName(work_folder_);
  worktables::CommitFiles(work_folder_, record, std::move(backup));
  return record.backup;
}

}  // namespace tv
