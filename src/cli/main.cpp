// transvelor: the command-line front end of the converter.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/run_status.h"
#include "util/env.h"

int main(int argc, char** argv) {
  tv::env::UseUtf8Terminal();
  CLI::App app{std::string("TransVelorOrtelia: Ortelia exchange files <-> Velorim work tables. "
                           "Results go to standard output, errors and warnings to standard "
                           "error. ") +
                   tv::cli::kExitStatusHelp,
               "transvelor"};
  app.set_version_flag("--version", std::string("transvelor ") + tv::cli::kVersion);
  app.require_subcommand(1);
  // Arguments are file paths, which may start with "/" (under Wine too): never options in
  // the Windows style. Set before the subcommands, which take it from the application.
  app.allow_windows_style_options(false);
  tv::cli::AddInspectCommand(app);
  tv::cli::AddExportCommand(app);
  tv::cli::AddImportCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version end here with 0, a run with its own status; a wrong command
    // line is told on standard error and ends with 2.
    const int status = app.exit(error);
    const bool usage = dynamic_cast<const CLI::RuntimeError*>(&error) == nullptr;
    return usage && status != 0 ? tv::cli::kStatusUsage : status;
  }
  return 0;
}
