#include "worktables/folder_commit.h"

#include <system_error>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::worktables {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFormatLine = "TransVelorOrtelia commit 1";

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// A name of the record must stay inside the folder it names a file of.
bool PlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:\t\r\n") == std::string_view::npos;
}

// The work-folder files the commit replaces or drops, by their names.
std::vector<std::string> OldFiles(const fs::path& work_folder, const CommitRecord& record) {
  std::vector<std::string> old_files;
  for (const FileMove& move : record.moves) {
    if (Exists(work_folder / move.target)) old_files.push_back(move.target);
  }
  for (const std::string& name : record.drops) {
    if (Exists(work_folder / name)) old_files.push_back(name);
  }
  return old_files;
}

void WriteRecord(const fs::path& work_folder, const CommitRecord& record) {
  const fs::path draft = work_folder / kCommitRecordDraftName;
  env::WriteDurableFile(draft, record.Serialize());
  env::ReplaceFile(draft, work_folder / kCommitRecordName);
  env::SyncFolder(work_folder);
}

// Each step done so far, undone in reverse order: a new file goes back to the staging
// folder, an old one comes back from `keep`. Returns false when a step could not be undone;
// the record then stays, and the next run completes the new set.
bool PutBack(const fs::path& work_folder, const fs::path& staging, const fs::path& keep,
             const std::vector<FileMove>& moved, const std::vector<std::string>& dropped) {
  bool whole = true;
  auto restore_old = [&](const std::string& name) {
    if (Exists(keep / name)) env::ReplaceFile(keep / name, work_folder / name);
  };
  for (auto it = dropped.rbegin(); it != dropped.rend(); ++it) {
    try {
      restore_old(*it);
    } catch (const std::exception&) {
      whole = false;
    }
  }
  for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
    try {
      env::ReplaceFile(work_folder / it->target, staging / it->staged);
      restore_old(it->target);
    } catch (const std::exception&) {
      whole = false;
    }
  }
  return whole;
}

// Where the old files are kept while the commit lasts.
fs::path KeepingFolder(const fs::path& work_folder, const CommitRecord& record) {
  if (record.backup.empty()) return work_folder / record.staging / "anteriores";
  return work_folder / kBackupFolderName / record.backup;
}

// The backup set is complete once its description has its own name.
void CompleteSet(const fs::path& keep) {
  env::ReplaceFile(keep / kSetDescriptionDraftName, keep / kSetDescriptionName);
  env::SyncFolder(keep);
}

void RemoveRecord(const fs::path& work_folder) {
  env::RemoveFile(work_folder / kCommitRecordName);
  env::SyncFolder(work_folder);
}

}  // namespace

std::string CommitRecord::Serialize() const {
  std::string text(kFormatLine);
  text += "\nstaging\t" + staging + "\n";
  if (!backup.empty()) text += "backup\t" + backup + "\n";
  for (const FileMove& move : moves) text += "put\t" + move.staged + "\t" + move.target + "\n";
  for (const std::string& name : drops) text += "drop\t" + name + "\n";
  text += "end\n";
  return text;
}

std::optional<CommitRecord> CommitRecord::Parse(std::string_view text) {
  CommitRecord record;
  bool first = true;
  bool ended = false;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos || ended) return std::nullopt;  // cut short, or past "end"
    const std::string_view line = text.substr(start, lf - start);
    start = lf + 1;
    if (first) {
      if (line != kFormatLine) return std::nullopt;
      first = false;
      continue;
    }
    const std::vector<std::string_view> fields = SplitFields(line);
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (!PlainName(fields[i])) return std::nullopt;
    }
    if (fields[0] == "staging" && fields.size() == 2 && record.staging.empty()) {
      record.staging = fields[1];
    } else if (fields[0] == "backup" && fields.size() == 2 && record.backup.empty()) {
      record.backup = fields[1];
    } else if (fields[0] == "put" && fields.size() == 3) {
      record.moves.push_back({std::string(fields[1]), std::string(fields[2])});
    } else if (fields[0] == "drop" && fields.size() == 2) {
      record.drops.emplace_back(fields[1]);
    } else if (fields[0] == "end" && fields.size() == 1) {
      ended = true;
    } else {
      return std::nullopt;
    }
  }
  if (!ended || record.staging.empty()) return std::nullopt;
  return record;
}

void CommitFiles(const fs::path& work_folder, const CommitRecord& record, SetDescription backup) {
  const fs::path staging = work_folder / record.staging;
  const fs::path keep = KeepingFolder(work_folder, record);
  const bool keeps_set = !record.backup.empty();
  // Every new file is whole on the disk before the record says it may be moved in.
  for (const FileMove& move : record.moves) env::SyncFile(staging / move.staged);
  if (keeps_set) env::MakeFolder(work_folder / kBackupFolderName);
  env::MakeFolder(keep);
  backup.files = OldFiles(work_folder, record);
  // The draft comes first: a set folder with a draft and no description is one that a run
  // began and never completed, whatever else it holds.
  if (keeps_set) env::WriteDurableFile(keep / kSetDescriptionDraftName, backup.Serialize());
  for (const std::string& name : backup.files) {
    env::LinkOrCopyFile(work_folder / name, keep / name);
  }

  std::vector<FileMove> moved;
  std::vector<std::string> dropped;
  bool recorded = false;
  try {
    WriteRecord(work_folder, record);
    recorded = true;
    for (const FileMove& move : record.moves) {
      env::ReplaceFile(staging / move.staged, work_folder / move.target);
      moved.push_back(move);
    }
    for (const std::string& name : record.drops) {
      if (!Exists(work_folder / name)) continue;
      env::RemoveFile(work_folder / name);
      dropped.push_back(name);
    }
    env::SyncFolder(work_folder);
    if (keeps_set) CompleteSet(keep);
  } catch (...) {
    if (PutBack(work_folder, staging, keep, moved, dropped)) {
      try {
        if (recorded || Exists(work_folder / kCommitRecordName)) RemoveRecord(work_folder);
        env::RemoveFile(work_folder / kCommitRecordDraftName);
        if (keeps_set) env::RemoveFolder(keep);
      } catch (const std::exception&) {
        // The next run finds the record and completes the new set, or clears the rest.
      }
    }
    throw;
  }
  // The set is complete. What cannot be cleared now is cleared by the next run, which
  // finds nothing left to move.
  try {
    RemoveRecord(work_folder);
    if (keeps_set) RemoveOldSets(work_folder);
  } catch (const std::exception&) {
  }
}

void CompleteInterruptedCommit(const fs::path& work_folder) {
  const fs::path record_file = work_folder / kCommitRecordName;
  if (Exists(record_file)) {
    const std::optional<CommitRecord> record = CommitRecord::Parse(env::ReadWholeFile(record_file));
    if (!record) {
      throw RunError("El registro " + env::PathText(record_file) +
                     " de una exportaci\xF3n interrumpida est\xE1 da\xF1"
                     "ado; no se ha "
                     "cambiado nada. Revise la carpeta de trabajo y b\xF3rrelo.");
    }
    const fs::path staging = work_folder / record->staging;
    try {
      for (const FileMove& move : record->moves) {
        if (Exists(staging / move.staged)) {
          env::ReplaceFile(staging / move.staged, work_folder / move.target);
        }
      }
      for (const std::string& name : record->drops) {
        if (Exists(work_folder / name)) env::RemoveFile(work_folder / name);
      }
      env::SyncFolder(work_folder);
      const fs::path keep = KeepingFolder(work_folder, *record);
      if (!record->backup.empty() && Exists(keep / kSetDescriptionDraftName)) CompleteSet(keep);
      RemoveRecord(work_folder);
    } catch (const RunError& error) {
      throw RunError(
          "No se puede completar la exportaci\xF3n interrumpida en la carpeta de trabajo " +
          env::PathText(work_folder) + ":\n" + error.message());
    }
  }
  if (Exists(work_folder / kCommitRecordDraftName)) {
    env::RemoveFile(work_folder / kCommitRecordDraftName);
  }
  if (Exists(work_folder / kStagingFolderName)) env::RemoveFolder(work_folder / kStagingFolderName);
  RemoveUnfinishedSets(work_folder);
}

}  // namespace tv::worktables
