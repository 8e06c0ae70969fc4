// The subcommands of transvelor; each file adds one to the application.
#pragma once

#include <CLI/CLI.hpp>

namespace tv::cli {

// Each adds its subcommand; the subcommand's callback runs it and throws CLI::RuntimeError
// with the exit status when it fails.
void AddInspectCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);
void AddImportCommand(CLI::App& app);
void AddRestoreCommand(CLI::App& app);

}  // namespace tv::cli
