// bench-import: how the import's time and memory grow with the size of a school. For each
// scale N it makes a school with make-school, exports it (two frames) and solves it with
// the stand-in solver; then, each in a child process of its own so that each has its own
// peak memory, it times the import and the floor any import must reach on the same data:
// parsing the input, reading every field of SOLUC and writing as many bytes as the output
// holds. With --rows R, the solution of the last scale is then lengthened to R rows
// (its rows repeated in turn) and measured again.
//
// With --runs R, each is run R times and the fastest run counts.
//
//   bench-import [--sizes 1,10,100] [--rows R] [--runs R] [--folder DIR] [--make-school PATH]
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "child_measure.h"
#include "exchange/block_reader.h"
#include "exchange/replacing_file.h"
#include "exchange/xml_document.h"
#include "export/export_run.h"
#include "import/import_run.h"
#include "sample_solver.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"
#include "util/text.h"
#include "worktables/table.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Runs the export and the import without asking: the given file, the first two frames.
class BenchUi : public tv::UserInterface {
 public:
  fs::path file;
  std::vector<std::string> frames;
  std::optional<fs::path> ChooseExchangeFile(const fs::path&) override { return file; }
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string& text) override { std::cerr << tv::Cp1252ToUtf8(text) << "\n"; }
  tv::FrameChoice ChooseFrames(const std::vector<tv::TimeFrame>&) override {
    return {tv::FrameChoice::Kind::kAccepted, frames};
  }
  void SetBusy(bool) override {}
};

std::vector<std::string> FirstTwoFrames(const fs::path& file) {
  const tv::xml::Document document = tv::xml::Document::Load(file);
  std::vector<std::string> frames;
  for (const auto& record : tv::SelectBlockRecords(document, "JORNADAS_ESCOLARES")) {
    frames.push_back(tv::FieldText(tv::RecordFields(record), 0));
    if (frames.size() == 2) break;
  }
  return frames;
}

// In the child: the import of dir/school.xml with the work folder dir/QTEMP. Counts the
// bytes of the output.
void MeasureImport(const fs::path& dir, const fs::path& figures) {
  BenchUi ui;
  ui.file = dir / "school.xml";
  fs::path selected;
  const auto start = Clock::now();
  const tv::RunReport report = tv::RunImport({dir / "QTEMP", dir}, ui, selected);
  const double seconds = Seconds(start);
  if (report.outcome != tv::RunOutcome::kFinished) throw tv::RunError("the import failed");
  tv::bench::WriteFigures(figures, seconds, fs::file_size(report.output_file));
}

// In the child: what any import must do on the same data. Parses the input, reads every
// field of every SOLUC row, and writes `bytes` bytes to a file. Counts SOLUC's rows.
void MeasureFloor(const fs::path& dir, std::uint64_t bytes, const fs::path& figures) {
  const auto start = Clock::now();
  { const tv::xml::Document input = tv::xml::Document::Load(dir / "school.xml"); }

  tv::worktables::Table solution(dir / "QTEMP", "SOLUC");
  solution.Open();
  std::vector<std::size_t> fields;
  for (const auto& field : solution.Fields()) fields.push_back(solution.FieldIndex(field.name));
  std::size_t rows = 0, characters = 0;
  for (solution.First(); !solution.Eof(); solution.Next(), ++rows) {
    for (std::size_t f : fields) characters += solution.GetText(f).size();
  }
  solution.Close();

  tv::xml::ReplacingFile out(dir / "floor.xml");
  const std::string block(1 << 20, static_cast<char>('a' + characters % 26));
  for (std::uint64_t left = bytes; left > 0;) {
    const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
    out.Write(std::string_view(block).substr(0, size));
    left -= size;
  }
  out.Commit();
  const double seconds = Seconds(start);
  fs::remove(dir / "floor.xml");
  tv::bench::WriteFigures(figures, seconds, rows);
}

// Repeats SOLUC's rows in turn until it holds `rows` rows.
void LengthenSolution(const fs::path& work, std::size_t rows) {
  tv::worktables::Table solution(work, "SOLUC");
  solution.Open(tv::worktables::OpenMode::kExclusive);
  std::vector<std::vector<std::string>> original;
  for (solution.First(); !solution.Eof(); solution.Next()) {
    std::vector<std::string> values;
    for (const auto& field : solution.Fields()) values.push_back(solution.GetText(field.name));
    original.push_back(std::move(values));
  }
  for (std::size_t row = original.size(), i = 0; row < rows; ++row, ++i) {
    const auto& values = original[i % original.size()];
    solution.Append();
    for (std::size_t f = 0; f < values.size(); ++f) {
      solution.SetText(solution.Fields()[f].name, values[f]);
    }
  }
  solution.Close();
}

std::vector<int> ParseSizes(const std::string& text) {
  std::vector<int> sizes;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    sizes.push_back(std::stoi(text.substr(start, comma - start)));
    start = comma + 1;
  }
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Times the import and its peak memory at growing school sizes", "bench-import"};
  std::string sizes_text = "1,10,100";
  std::size_t rows = 0;
  std::string folder_text = (fs::temp_directory_path() / "tv-bench-import").string();
  std::string make_school = TV_MAKE_SCHOOL;
  std::string program_folder = TV_PROGRAM_FOLDER;
  std::string measure, dir_text, figures_text;
  std::uint64_t bytes = 0;
  app.add_option("--sizes", sizes_text, "Scales N, comma-separated");
  app.add_option("--rows", rows, "Then lengthen the last scale's solution to this many rows");
  int runs = 1;
  app.add_option("--runs", runs, "Runs of each measure; the fastest counts")
      ->check(CLI::PositiveNumber);
  app.add_option("--folder", folder_text, "Where the schools are made (emptied first)");
  app.add_option("--make-school", make_school, "The make-school program");
  app.add_option("--program-folder", program_folder, "The folder holding NIVELEX.DBF");
  // The child's side.
  app.add_option("--measure", measure, "In a child: import or floor")->group("");
  app.add_option("--dir", dir_text, "In a child: the scale's folder")->group("");
  app.add_option("--bytes", bytes, "In a child: the bytes the floor writes")->group("");
  app.add_option("--figures", figures_text, "In a child: where the figures go")->group("");
  CLI11_PARSE(app, argc, argv);

  try {
    if (measure == "import") {
      MeasureImport(dir_text, figures_text);
      return 0;
    }
    if (measure == "floor") {
      MeasureFloor(dir_text, bytes, figures_text);
      return 0;
    }
    const fs::path self = tv::env::ProgramFolder() / fs::path(argv[0]).filename();
    const fs::path folder = folder_text;
    std::printf("%6s %9s %10s %10s %10s %10s %10s %8s\n", "N", "lessons", "import s", "import MB",
                "floor s", "floor MB", "output MB", "ratio");
    auto measure_both = [&](const std::string& label, const fs::path& dir, std::size_t lessons) {
      const std::string where = "--dir \"" + dir.string() + "\"";
      const auto import =
          tv::bench::RunChildBest(self, "--measure import " + where, dir / "figures", runs);
      const auto floor = tv::bench::RunChildBest(
          self, "--measure floor --bytes " + std::to_string(import.count) + " " + where,
          dir / "figures", runs);
      std::printf("%6s %9zu %10.3f %10.1f %10.3f %10.1f %10.1f %8.2f\n", label.c_str(), lessons,
                  import.seconds, tv::bench::Megabytes(import.peak_bytes), floor.seconds,
                  tv::bench::Megabytes(floor.peak_bytes), tv::bench::Megabytes(import.count),
                  import.seconds / floor.seconds);
      std::fflush(stdout);
    };

    fs::path last;
    for (const int n : ParseSizes(sizes_text)) {
      const fs::path dir = folder / std::to_string(n);
      fs::remove_all(dir);
      fs::create_directories(dir / "QTEMP");
      const fs::path school = dir / "school.xml";
      const std::string command = "\"" + make_school + "\" --scale " + std::to_string(n) +
                                  " --output \"" + school.string() + "\"";
      if (std::system(command.c_str()) != 0) {
        std::cerr << "make-school failed: " << command << "\n";
        return 1;
      }

      BenchUi ui;
      ui.file = school;
      ui.frames = FirstTwoFrames(school);
      const tv::RunFolders folders{dir / "QTEMP", program_folder};
      fs::path selected;
      if (tv::RunExport(folders, ui, selected).outcome != tv::RunOutcome::kFinished) return 1;
      const auto solution = tv::sample::SolveSample(dir / "QTEMP", 1);
      measure_both(std::to_string(n), dir, solution.lessons);
      last = dir;
    }
    if (rows > 0 && !last.empty()) {
      LengthenSolution(last / "QTEMP", rows);
      measure_both(last.filename().string() + "+", last, rows);
    }
  } catch (const tv::RunError& error) {
    std::cerr << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  }
  return 0;
}
