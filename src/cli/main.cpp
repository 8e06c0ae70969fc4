// transvelor: the command-line front end of the converter.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
  CLI::App app{"TransVelorOrtelia: exchange files of Ortelia <-> work tables of Velorim",
               "transvelor"};
  app.require_subcommand(1);
  CLI11_PARSE(app, argc, argv);
  return 0;
}
