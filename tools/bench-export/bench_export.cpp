// bench-export [--scales 1,10,100] [--folder DIR] [--runs N]: makes the synthetic schools
// of the given scales with make-school (beside this program) once, then for each prints
// the time to only parse the file, the time of a whole export run (parse included) into
// a fresh work folder, choosing the first two time frames (as chosen beforehand, so the
// time of a frame dialog is not counted), the rows written, and the ratio of export to
// parse. Each parse and each export runs in a child process of its own, so the peak
// memory printed beside its time is its own. The best of --runs runs counts.
// NIVELEX.DBF is taken from the program's folder.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "child_measure.h"
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

// In a child: parses the file, or exports it into a fresh work folder; counts the rows
// the export writes.
void MeasureInChild(const std::string& what, const fs::path& file, const fs::path& work,
                    const fs::path& figures) {
  if (what == "parse") {
    const auto start = std::chrono::steady_clock::now();
    { const tv::xml::Document document = tv::xml::Document::Load(file); }
    tv::bench::WriteFigures(figures, SecondsSince(start), 0);
    return;
  }
  fs::remove_all(work);
  fs::create_directories(work);
  BenchUi ui(file);
  fs::path selected;
  const auto start = std::chrono::steady_clock::now();
  const tv::RunReport report = tv::RunExport({work, tv::env::ProgramFolder()}, ui, selected);
  const double seconds = SecondsSince(start);
  if (report.outcome != tv::RunOutcome::kFinished) {
    throw tv::RunError("la exportaci\xF3n de " + file.string() + " no termin\xF3: " + ui.error +
                       ui.last_message);
  }
  std::size_t rows = 0;
  for (const auto& [table, count] : report.counts) rows += count;
  tv::bench::WriteFigures(figures, seconds, rows);
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
  // The child's side.
  std::string measure, file_text, work_text, figures_text;
  app.add_option("--measure", measure, "In a child: parse or export")->group("");
  app.add_option("--file", file_text, "In a child: the school's file")->group("");
  app.add_option("--work", work_text, "In a child: the work folder")->group("");
  app.add_option("--figures", figures_text, "In a child: where the figures go")->group("");
  CLI11_PARSE(app, argc, argv);

  try {
    if (!measure.empty()) {
      MeasureInChild(measure, file_text, work_text, figures_text);
      return 0;
    }
    fs::create_directories(folder);
    const fs::path maker = tv::env::ProgramFolder() / "make-school";
    const fs::path self = tv::env::ProgramFolder() / fs::path(argv[0]).filename();
    std::printf("%6s %8s %9s %9s %10s %10s %10s %11s %7s\n", "scale", "MB", "parse s", "parse MB",
                "export s", "export MB", "rows", "export/N s", "ratio");
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
      const fs::path figures = fs::path(folder) / "figures";
      const std::string where =
          " --file \"" + file.string() + "\" --work \"" + work.string() + "\"";
      const auto parse = tv::bench::RunChildBest(self, "--measure parse" + where, figures, runs);
      const auto exported =
          tv::bench::RunChildBest(self, "--measure export" + where, figures, runs);
      fs::remove_all(work);
      std::printf("%6d %8.1f %9.3f %9.1f %10.3f %10.1f %10llu %11.4f %7.2f\n", scale,
                  static_cast<double>(fs::file_size(file)) / (1024.0 * 1024.0), parse.seconds,
                  tv::bench::Megabytes(parse.peak_bytes), exported.seconds,
                  tv::bench::Megabytes(exported.peak_bytes),
                  static_cast<unsigned long long>(exported.count), exported.seconds / scale,
                  exported.seconds / parse.seconds);
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
