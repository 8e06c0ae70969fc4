// transvelor inspect (not built yet).
#include "cli/commands.h"

namespace tv::cli {

void AddInspectCommand(CLI::App& app) {
  auto* command = app.add_subcommand("inspect", "Not available yet");
  command->callback([] { throw CLI::RuntimeError("transvelor inspect: not available yet", 2); });
}

}  // namespace tv::cli
