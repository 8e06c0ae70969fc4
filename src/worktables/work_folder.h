// The work folder shared with Velorim, and the two ways the runs reach its tables.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "worktables/table.h"

namespace tv::worktables {

class WorkFolder {
 public:
  explicit WorkFolder(std::filesystem::path folder);
  const std::filesystem::path& Path() const { return folder_; }

  // Deletes NAME.DBF and then NAME.MDX when they exist (whatever their letter case),
  // then creates NAME.DBF empty with these fields (and index tags). Returns the table
  // object, closed.
  Table RecreateWorkTable(const std::string& name, const std::vector<FieldDef>& fields,
                          const std::vector<IndexDef>& indexes = {});

  // The existing table NAME, open.
  Table OpenWorkTable(const std::string& name, OpenMode mode = OpenMode::kShared);

  // Deletes a file of the folder when it exists, whatever its letter case
  // ("ASIGT.MDX" deletes "asigt.mdx"). Returns whether a file was deleted.
  bool DeleteFileIfExists(const std::string& file_name);
  // Whether the file exists, whatever its letter case.
  bool FileExists(const std::string& file_name) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace tv::worktables
