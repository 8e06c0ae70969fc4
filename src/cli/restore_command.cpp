// transvelor restore [SET] [--list] [--work-folder DIR]: the backup sets of the work folder,
// listed or put back.
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/run_status.h"
#include "export/restore_run.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"
#include "worktables/backup_sets.h"
#include "worktables/folder_commit.h"

namespace tv::cli {

namespace {

void ListSets(const std::filesystem::path& work_folder) {
  // Listing opens the work folder like any run: an interrupted one is finished first.
  worktables::CompleteInterruptedCommit(work_folder);
  const auto sets = worktables::ListBackupSets(work_folder);
  if (sets.empty()) {
    std::cout << "No hay copias de seguridad en "
              << Cp1252ToUtf8(env::PathText(work_folder / worktables::kBackupFolderName)) << "\n";
    return;
  }
  for (const worktables::BackupSet& set : sets) {
    std::string line = set.name + "  ";
    switch (set.state) {
      case worktables::SetState::kComplete:
        line += set.description.made + "  " + set.description.run + " de " + set.description.read +
                "  (" + std::to_string(set.description.files.size()) + " archivos)";
        break;
      case worktables::SetState::kDamaged:
        line +=
            "DA\xD1"
            "ADA: " +
            set.problem;
        break;
      case worktables::SetState::kForeign:
        line += "AJENA: " + set.problem;
        break;
    }
    std::cout << Cp1252ToUtf8(line) << "\n";
  }
}

}  // namespace

void AddRestoreCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "restore",
      "Put back a backup set of the work folder (the newest when SET is not given): the tables "
      "an export or a restore replaced. The tables it replaces become a set themselves. "
      "Exit status: 0 finished, 1 an error ended the run (the work folder is as it was).");
  struct Options {
    std::string set;
    bool list = false;
    std::string work_folder;
  };
  auto options = std::make_shared<Options>();
  command->add_option("SET", options->set, "The set's name, as --list shows it");
  command->add_flag("--list", options->list, "List the backup sets, newest first");
  command->add_option("--work-folder", options->work_folder,
                      "Velorim's work folder (default: " + env::DefaultWorkFolder().string() + ")");
  command->callback([options] {
    const std::filesystem::path work_folder = WorkFolderOrDefault(options->work_folder);
    try {
      if (options->list) {
        ListSets(work_folder);
        return;
      }
      const RestoreResult result = RestoreBackupSet(work_folder, options->set);
      std::cout << "Restaurada la copia " << result.restored << "\n";
      if (!result.kept.empty()) {
        std::cout << "Las tablas sustituidas est\xC3\xA1n en la copia " << result.kept << "\n";
      }
    } catch (const RunError& error) {
      std::cerr << Cp1252ToUtf8(error.message()) << "\n";
      throw CLI::RuntimeError(1);
    }
  });
}

}  // namespace tv::cli
