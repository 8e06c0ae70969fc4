// bench-export [--scales 1,10,100] [--folder DIR] [--runs N]: makes the synthetic schools
// of the given scales with make-school (beside this program) once, then for each prints
// the time to only parse the file, the time of a whole export run (parse included) into
// a fresh work folder, choosing the first two time frames (as chosen beforehand, so the
// time of a frame dialog is not counted), the rows written, and the ratio of export to
// parse. The best of --runs runs counts. NIVELEX.DBF is taken from the
// program's folder.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "exchange/xml_document.h"
#include "export/export_run.h"
#include "export/frame_choice.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace fs = std::filesystem;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Answers as a user would who picks the first two frames.
class BenchUi : public tv::UserInterface {
 public:
  explicit BenchUi(fs::path file) : file_(std::move(file)) {}
  std::optional<fs::path> ChooseExchangeFile(const fs::path&) override { return file_; }
  void ShowMessage(const std::string& text) override { last_message = text; }
  void ShowError(const std::string& text) override { error = text; }
  tv::FrameChoice ChooseFrames(const std::vector<tv::TimeFrame>& frames) override {
    std::vector<std::string> codes;
    std::vector<bool> selected;
    for (const auto& frame : frames) {
      codes.push_back(frame.code);
      selected.push_back(codes.size() <= 2);
    }
    return {tv::FrameChoice::Kind::kAccepted, tv::ApplyFrameChoice(codes, selected).codes};
  }
  void SetBusy(bool) override {}

  std::string last_message;
  std::string error;

 private:
  fs::path file_;
};

struct Figures {
  double parse = 1e30;
  double exported = 1e30;
  std::size_t rows = 0;
};

Figures Measure(const fs::path& file, const fs::path& work, int runs) {
  Figures figures;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    { const tv::xml::Document document = tv::xml::Document::Load(file); }
    figures.parse = std::min(figures.parse, SecondsSince(start));

    fs::remove_all(work);
    fs::create_directories(work);
    BenchUi ui(file);
    fs::path selected;
    start = std::chrono::steady_clock::now();
    const tv::RunReport report = tv::RunExport({work, tv::env::ProgramFolder()}, ui, selected);
    figures.exported = std::min(figures.exported, SecondsSince(start));
    if (report.outcome != tv::RunOutcome::kFinished) {
      throw tv::RunError("la exportaci\xF3n de " + file.string() + " no termin\xF3: " + ui.error +
                         ui.last_message);
    }
    figures.rows = 0;
    for (const auto& [table, rows] : report.counts) figures.rows += rows;
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Measures how the export run grows with the size of a school", "bench-export"};
  std::vector<int> scales = {1, 10, 100};
  std::string folder = (fs::temp_directory_path() / "transvelor-bench").string();
  int runs = 1;
  app.add_option("--scales", scales, "Scales of the synthetic schools")->delimiter(',');
  app.add_option("--folder", folder, "Where the synthetic schools are kept");
  app.add_option("--runs", runs, "Runs per school; the best counts")->check(CLI::PositiveNumber);
  CLI11_PARSE(app, argc, argv);

  try {
    fs::create_directories(folder);
    const fs::path maker = tv::env::ProgramFolder() / "make-school";
    std::printf("%6s %10s %10s %10s %10s %12s %8s\n", "scale", "MB", "parse s", "export s", "rows",
                "export/N s", "ratio");
    for (const int scale : scales) {
      const fs::path file = fs::path(folder) / ("school-" + std::to_string(scale) + ".xml");
      if (!fs::exists(file)) {
        const std::string command = "\"" + maker.string() + "\" --scale " + std::to_string(scale) +
                                    " --output \"" + file.string() + "\"";
        if (std::system(command.c_str()) != 0) {
          std::cerr << "bench-export: make-school failed for scale " << scale << "\n";
          return 1;
        }
      }
      const fs::path work = fs::path(folder) / ("work-" + std::to_string(scale));
      const Figures f = Measure(file, work, runs);
      fs::remove_all(work);
      std::printf("%6d %10.1f %10.3f %10.3f %10zu %12.4f %8.2f\n", scale,
                  static_cast<double>(fs::file_size(file)) / (1024.0 * 1024.0), f.parse, f.exported,
                  f.rows, f.exported / scale, f.exported / f.parse);
      std::fflush(stdout);
    }
  } catch (const tv::RunError& error) {
    std::cerr << "bench-export: " << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "bench-export: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
