#include "export/restore_run.h"

#include <algorithm>
#include <vector>

#include "export/staging_folder.h"
#include "util/env.h"
#include "util/run_error.h"
#include "worktables/backup_sets.h"

namespace tv {

namespace fs = std::filesystem;

namespace {

// The tables an export writes, with their index files, and the frame table of older
// versions that it removes: what a set's export may have added is taken out again.
std::vector<std::string> ExportFiles() {
  std::vector<std::string> files = {"JORNADAS.DBF"};
  for (const char* table : {"ASIGNOMT", "PROFT", "AULAT", "CURSOST", "GRUPOST", "ASIGT",
                            "DIASHORAST", "DIASHORAST2", "PERIODOS"}) {
    files.push_back(std::string(table) + ".DBF");
    files.push_back(std::string(table) + ".MDX");
  }
  return files;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
           return upper(x) == upper(y);
         });
}

}  // namespace

RestoreResult RestoreBackupSet(const fs::path& work_folder, const std::string& set_name) {
  // An interrupted run is finished first, so the sets are listed as it left them.
  StagingFolder staging(work_folder);
  const std::vector<worktables::BackupSet> sets = worktables::ListBackupSets(work_folder);
  const auto found = std::find_if(sets.begin(), sets.end(), [&](const worktables::BackupSet& set) {
    return set_name.empty() ? set.state == worktables::SetState::kComplete : set.name == set_name;
  });
  const fs::path backups = work_folder / worktables::kBackupFolderName;
  if (found == sets.end()) {
    throw RunError(set_name.empty() ? "No hay copias de seguridad en " + env::PathText(backups)
                                    : "No existe la copia de seguridad " + set_name + " en " +
                                          env::PathText(backups));
  }
  if (found->state != worktables::SetState::kComplete) {
    throw RunError("La copia de seguridad " + env::PathText(backups / found->name) +
                   " no se puede restaurar: " + found->problem);
  }

  const fs::path set = backups / found->name;
  for (const std::string& file : found->description.files) {
    env::CopyWholeFile(set / file, staging.Path() / file);
  }
  std::vector<std::string> obsolete;
  for (const std::string& file : ExportFiles()) {
    const bool in_set =
        std::any_of(found->description.files.begin(), found->description.files.end(),
                    [&](const std::string& kept) { return SameNameIgnoringCase(kept, file); });
    if (!in_set) obsolete.push_back(file);
  }
  worktables::SetDescription backup;
  backup.made = env::LocalDateTimeText();
  backup.run = "restauraci\xF3n";
  backup.read = "copia " + found->name;
  const std::string kept = staging.Commit(obsolete, std::move(backup), "restaurar");
  return {found->name, kept};
}

}  // namespace tv
