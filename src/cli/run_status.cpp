#include "cli/run_status.h"

#include <CLI/CLI.hpp>

#include "util/env.h"

namespace tv::cli {

std::filesystem::path WorkFolderOrDefault(const std::string& option) {
  return option.empty() ? env::DefaultWorkFolder() : env::PathFromUtf8(option);
}

void ExitUnlessFinished(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kFinished:
      return;
    case RunOutcome::kNoFile:
      throw CLI::RuntimeError(3);
    case RunOutcome::kRefused:
      throw CLI::RuntimeError(4);
    case RunOutcome::kFailed:
      break;
  }
  throw CLI::RuntimeError(1);
}

}  // namespace tv::cli
