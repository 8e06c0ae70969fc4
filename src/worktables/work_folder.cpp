#include "worktables/work_folder.h"

#include <system_error>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::worktables {

namespace fs = std::filesystem;

WorkFolder::WorkFolder(fs::path folder) : folder_(std::move(folder)) {}

Table WorkFolder::RecreateWorkTable(const std::string& name, const std::vector<FieldDef>& fields,
                                    const std::vector<IndexDef>& indexes) {
  // The outcome of the deletions is not looked at: Create reports what stands in its way.
  DeleteFileIfExists(name + ".DBF");
  DeleteFileIfExists(name + ".MDX");
  Table table(folder_, name + ".DBF");
  table.ClearFields();
  for (const FieldDef& field : fields) table.AddField(field);
  for (const IndexDef& index : indexes) table.AddIndex(index);
  table.Create();
  return table;
}

Table WorkFolder::OpenWorkTable(const std::string& name, OpenMode mode) {
  Table table(folder_, name + ".DBF");
  table.Open(mode);
  return table;
}

bool WorkFolder::DeleteFileIfExists(const std::string& file_name) {
  // A full path names a file of this folder by its last part ("C:\QTEMP\ASIGT.MDX").
  std::string name = file_name;
  if (const auto cut = name.find_last_of("\\/"); cut != std::string::npos) name.erase(0, cut + 1);
  bool deleted = false;
  // Every spelling of the name goes, as on a file system that ignores letter case.
  while (auto found = env::FindFileNoCase(folder_, name)) {
    // A file that another open holds stays, as it does on Velorim's system.
    try {
      // The probe is closed before the removal, which Windows refuses on an open file.
      env::TableFile::Open(*found, env::ShareMode::kExclusive).Close();
      env::RemoveFile(*found);
    } catch (const RunError&) {
      break;
    }
    deleted = true;
  }
  return deleted;
}

bool WorkFolder::FileExists(const std::string& file_name) const {
  std::string name = file_name;
  if (const auto cut = name.find_last_of("\\/"); cut != std::string::npos) name.erase(0, cut + 1);
  return env::FindFileNoCase(folder_, name).has_value();
}

}  // namespace tv::worktables
