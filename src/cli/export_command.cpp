// transvelor export (not built yet).
#include "cli/commands.h"

namespace tv::cli {

void AddExportCommand(CLI::App& app) {
  auto* command = app.add_subcommand("export", "Not available yet");
  command->callback([] { throw CLI::RuntimeError("transvelor export: not available yet", 2); });
}

}  // namespace tv::cli
