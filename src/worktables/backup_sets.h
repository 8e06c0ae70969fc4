// The backup sets of a work folder: the files an export or a restore replaced or removed,
// kept (moved, not copied) in a folder of their own inside the backup folder, with what the
// run read and when. The newest sets stay (kKeptSets); older ones go. Anything else found in
// the backup folder (a set whose description is missing or does not match its files, or a
// file or folder the program did not make) is listed as damaged or foreign and never
// removed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv::worktables {

// The backup folder's name inside the work folder.
inline constexpr const char* kBackupFolderName = "CopiasTransVelor";
// The description of a set, inside its folder; a set is complete once it exists.
inline constexpr const char* kSetDescriptionName = "copia.txt";
inline constexpr const char* kSetDescriptionDraftName = "copia.txt.tmp";
inline constexpr std::size_t kKeptSets = 10;

// What a set says of itself. Texts are code page 1252.
struct SetDescription {
  std::string made;                // when the run made it, in the user's date and time format
  std::string run;                 // "exportacion" or "restauracion"
  std::string read;                // what the run read: the exchange file, or the set restored
  std::vector<std::string> files;  // the files kept, by their names in the work folder

  std::string Serialize() const;
  // Nothing when the text is not a whole description of this format.
  static std::optional<SetDescription> Parse(std::string_view text);
};

enum class SetState { kComplete, kDamaged, kForeign };

struct BackupSet {
  std::string name;  // the folder's (or foreign file's) name inside the backup folder
  SetState state = SetState::kForeign;
  SetDescription description;  // for a complete set
  std::string problem;         // for a damaged or foreign entry: why
};

// The entries of the backup folder of `work_folder`, complete sets first from the newest,
// then the damaged and foreign ones by name. None when there is no backup folder.
std::vector<BackupSet> ListBackupSets(const std::filesystem::path& work_folder);

// A name for a new set, made of the current time (UTC, so that names sort by age) and, when
// the backup folder holds one already, a number after it.
std::string NewSetName(const std::filesystem::path& work_folder);

// Whether `name` has the form of the program's set names.
bool IsSetName(std::string_view name);

// Removes the complete sets beyond the newest kKeptSets. Damaged and foreign entries stay.
void RemoveOldSets(const std::filesystem::path& work_folder);

// Removes sets of the program that a run began and never completed (still empty, or a
// description draft and no description), which only hold second names of files still in the
// work folder. Called only when no commit is unfinished.
void RemoveUnfinishedSets(const std::filesystem::path& work_folder);

}  // namespace tv::worktables
