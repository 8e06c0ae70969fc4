// The folder inside the work folder in which an export run builds its tables, so that a
// failed run leaves the work folder exactly as it was. Only when every step has
// succeeded are the new tables moved in, and only after checking that no other program
// holds a file that is to be replaced or removed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "worktables/folder_commit.h"

namespace tv {

class StagingFolder {
 public:
  // The name of the staging folder inside the work folder.
  static constexpr const char* kName = worktables::kStagingFolderName;

  // Creates an empty staging folder in `work_folder`, after completing a commit that an
  // interrupted run left unfinished and clearing what it left there. Throws RunError when
  // the work folder does not exist, the interrupted commit cannot be completed or the folder
  // cannot be made.
  explicit StagingFolder(std::filesystem::path work_folder);
  // Removes the staging folder and everything in it; never throws.
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const std::filesystem::path& Path() const { return staging_; }

  // Moves every file of the staging folder into the work folder, over the file of the
  // same name whatever its letter case, and removes the work folder's files named in
  // `obsolete` (whatever their letter case) when they exist. First every file to be
  // replaced or removed is opened exclusively, as the table engine locks its tables: one
  // that another program holds ends the commit with RunError before anything is touched.
  // Each new file replaces its old one in one step, under a commit record that lets the
  // next run finish the set should this process stop; should a step fail, the files
  // already replaced or removed are put back as they were.
  // The old files, when there are any, become a backup set described by `backup` (what the
  // run read and when); returns its name (empty when there were none). `again` is the verb
  // of the message that asks the user to close the other program and try again.
  std::string Commit(const std::vector<std::string>& obsolete, worktables::SetDescription backup,
                     const std::string& again = "exportar");

 private:
  std::filesystem::path work_folder_;
  std::filesystem::path staging_;
};

}  // namespace tv
