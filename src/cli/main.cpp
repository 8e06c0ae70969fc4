// transvelor: the command-line front end of the converter.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "util/env.h"

int main(int argc, char** argv) {
  tv::env::UseUtf8Terminal();
  CLI::App app{"TransVelorOrtelia: Ortelia exchange files <-> Velorim work tables", "transvelor"};
  app.require_subcommand(1);
  // Arguments are file paths, which may start with "/" (under Wine too): never options in
  // the Windows style. Set before the subcommands, which take it from the application.
  app.allow_windows_style_options(false);
  tv::cli::AddInspectCommand(app);
  tv::cli::AddExportCommand(app);
  tv::cli::AddImportCommand(app);
  tv::cli::AddRestoreCommand(app);
  // UTF-8 arguments on every system (Windows hands them in its ANSI code page).
  std::vector<std::string> arguments = tv::env::CommandLineArguments(argc, argv);
  std::vector<char*> utf8_argv;
  for (std::string& argument : arguments) utf8_argv.push_back(argument.data());
  CLI11_PARSE(app, static_cast<int>(utf8_argv.size()), utf8_argv.data());
  return 0;
}
