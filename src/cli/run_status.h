// What the run commands share: the work folder option and the exit status of a run.
#pragma once

#include <filesystem>
#include <string>

#include "util/run_outcome.h"

namespace tv::cli {

// The folder given with --work-folder, or the platform's work folder when none was.
std::filesystem::path WorkFolderOrDefault(const std::string& option);

// Returns for a finished run; otherwise ends the command with its exit status:
// 1 an error ended the run, 3 no such file, 4 the run was refused.
void ExitUnlessFinished(RunOutcome outcome);

}  // namespace tv::cli
