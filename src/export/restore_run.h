// Putting a backup set of the work folder back, with the export's guarantees: the set's
// files are copied into the staging folder and moved in as one set; a table another
// program holds refuses the restore and changes nothing; the tables it replaces become a
// backup set themselves, so that a restore can be undone by another. Velorim's solution
// table is never touched: no set holds it, and it is not among the tables a restore removes.
#pragma once

#include <filesystem>
#include <string>

namespace tv {

struct RestoreResult {
  std::string restored;  // the set put back
  std::string kept;      // the set now holding the tables it replaced (empty when none)
};

// Puts back the set named `set_name`, or the newest complete set when it is empty. Throws
// RunError when there is no such set, it is damaged, a table is held, or a file fails.
RestoreResult RestoreBackupSet(const std::filesystem::path& work_folder,
                               const std::string& set_name);

}  // namespace tv
