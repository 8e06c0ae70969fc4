// Moving a set of new files into a work folder so that, whatever stops the process (a kill,
// a power cut, a failed write), the folder ends up holding the whole old set or the whole
// new set, never a mix of both.
//
// Before the first file moves, a commit record (a durable file of the work folder, named
// kCommitRecordName) says which files go in and which go out; it is removed only once the
// set is complete. Whoever next opens the work folder finds an unfinished record and first
// completes the commit: every new file was whole and on the disk before the record was
// written, so rolling forward is always possible.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worktables/backup_sets.h"

namespace tv::worktables {

// The folder inside the work folder in which a run builds the files it commits.
inline constexpr const char* kStagingFolderName = ".transvelor-export";
// The commit record, and the name it is written under before it is complete.
inline constexpr const char* kCommitRecordName = ".transvelor-commit";
inline constexpr const char* kCommitRecordDraftName = ".transvelor-commit.tmp";

// One new file: its name in the staging folder and the name it takes in the work folder
// (the spelling of the file it replaces, when there is one).
struct FileMove {
  std::string staged;
  std::string target;
  bool operator==(const FileMove&) const = default;
};

// The commit record as stored: text lines, the first naming the format, then the staging
// folder, the backup set (when the old files are kept in one), one "put" line per new file,
// one "drop" line per file that goes, and "end".
// Fields are separated by a tab; names hold no tab or line break.
struct CommitRecord {
  std::string staging;  // the staging folder's name inside the work folder
  std::string backup;   // the backup set's name inside the backup folder, or empty
  std::vector<FileMove> moves;
  std::vector<std::string> drops;  // names of work-folder files that go

  std::string Serialize() const;
  // Nothing when the text is not a whole record of this format.
  static std::optional<CommitRecord> Parse(std::string_view text);
  bool operator==(const CommitRecord&) const = default;
};

// Moves the staged files into `work_folder` and removes the dropped ones, as one set.
// Before anything moves, a second name of every work-folder file the commit replaces or
// drops is made in a keeping folder: the backup set that record.backup names, described by
// `backup` (its list of files is filled in here) and complete once the commit is, or else a
// folder inside the staging folder, gone with it. Should a step fail, every file already
// moved goes back to the staging folder and every old file back from the keeping folder, the
// unfinished set goes, and the RunError is rethrown: the folder holds the old set. Should
// the process stop instead, the record left behind makes the next CompleteInterruptedCommit
// finish the new set (and its backup set). Once complete, sets beyond the newest kKeptSets go.
void CommitFiles(const std::filesystem::path& work_folder, const CommitRecord& record,
                 SetDescription backup = {});

// Finishes a commit that a stopped process left unfinished in `work_folder`, then clears
// what an interrupted run left there (the staging folder, a half-written record, a backup
// set that was begun for a commit that never started). Every run
// that reads or writes the work folder calls it first. Throws RunError naming the file when
// a file cannot be moved, or when the record is damaged (then nothing is touched).
void CompleteInterruptedCommit(const std::filesystem::path& work_folder);

}  // namespace tv::worktables
