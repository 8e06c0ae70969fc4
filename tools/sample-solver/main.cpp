// sample-solver --work-folder DIR [--seed N]: writes a plausible SOLUC.DBF for the work
// tables of an export, standing in for Velorim in the demo, the tests and the benchmarks.
#include <CLI/CLI.hpp>
#include <iostream>

#include "sample_solver.h"
#include "util/cp1252.h"
#include "util/run_error.h"

int main(int argc, char** argv) {
  CLI::App app{"A stand-in for Velorim: writes SOLUC.DBF from the work tables of an export",
               "sample-solver"};
  std::string work_folder;
  unsigned variant = 1;
  app.add_option("--work-folder", work_folder, "The work folder of an export")->required();
  app.add_option("--seed", variant, "Variant number: the same number gives the same solution");
  CLI11_PARSE(app, argc, argv);
  try {
    const auto summary = tv::sample::SolveSample(work_folder, variant);
    std::cout << "SOLUC.DBF: " << summary.rows << " filas, " << summary.lessons << " lecciones, "
              << summary.unplaced << " sin colocar (DIA 0), " << summary.activities
              << " de actividades, " << summary.clashes << " con solape\n";
  } catch (const tv::RunError& error) {
    std::cerr << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  }
  return 0;
}
