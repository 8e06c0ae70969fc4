// Benchmarks measure each case in a child process of its own, so that the peak memory
// the operating system reports belongs to that case alone: the program runs itself again
// with the case's options, and the child writes its figures to a file the parent reads.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::bench {

struct Figures {
  double seconds = 0;
  std::uint64_t peak_bytes = 0;  // the most memory resident at once in the child
  std::uint64_t count = 0;       // what the case counts (bytes written, rows...)
};

// In the child: writes the case's time and count with this process's peak memory so far.
inline void WriteFigures(const std::filesystem::path& file, double seconds, std::uint64_t count) {
  std::ofstream(file) << seconds << ' ' << env::PeakResidentBytes() << ' ' << count << '\n';
}

// Runs `program` with `options` and "--figures FILE", and returns what it wrote there.
inline Figures RunChild(const std::filesystem::path& program, const std::string& options,
                        const std::filesystem::path& figures_file) {
  std::filesystem::remove(figures_file);
  const std::string command =
      "\"" + program.string() + "\" " + options + " --figures \"" + figures_file.string() + "\"";
  if (std::system(command.c_str()) != 0) throw RunError("Fall\xF3: " + command);
  Figures figures;
  std::ifstream in(figures_file);
  if (!(in >> figures.seconds >> figures.peak_bytes >> figures.count)) {
    throw RunError("Sin cifras: " + command);
  }
  return figures;
}

// The best of `runs` runs of RunChild: the fastest, with its peak memory.
inline Figures RunChildBest(const std::filesystem::path& program, const std::string& options,
                            const std::filesystem::path& figures_file, int runs) {
  Figures best;
  for (int run = 0; run < runs; ++run) {
    const Figures figures = RunChild(program, options, figures_file);
    if (run == 0 || figures.seconds < best.seconds) best = figures;
  }
  return best;
}

inline double Megabytes(std::uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

}  // namespace tv::bench
