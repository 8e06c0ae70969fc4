// transvelor import (not built yet).
#include "cli/commands.h"

namespace tv::cli {

void AddImportCommand(CLI::App& app) {
  auto* command = app.add_subcommand("import", "Not available yet");
  command->callback([] { throw CLI::RuntimeError("transvelor import: not available yet", 2); });
}

}  // namespace tv::cli
