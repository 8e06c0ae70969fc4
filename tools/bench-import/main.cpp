// bench-import: how the import's time grows with the size of a school. For each scale N
// it makes a school with make-school, exports it (two frames), solves it with the
// stand-in solver and times the import, then times the least any import must do on the
// same data: reading every field of SOLUC and saving a document of the same size.
//
//   bench-import [--sizes 1,10,100] [--folder DIR] [--make-school PATH]
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "export/export_run.h"
#include "import/import_run.h"
#include "sample_solver.h"
#include "util/cp1252.h"
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

// Reads every field of every SOLUC row, then writes a document with as many teacher
// groups and activity groups, each with its fields, as the import writes.
double Baseline(const fs::path& work, const fs::path& output) {
  const auto start = Clock::now();
  tv::worktables::Table teachers(work, "PROFT");
  teachers.Open();
  const std::size_t teacher_count = teachers.RecordCount();
  teachers.Close();

  tv::worktables::Table solution(work, "SOLUC");
  solution.Open();
  std::vector<std::size_t> fields;
  for (const auto& field : solution.Fields()) fields.push_back(solution.FieldIndex(field.name));
  tv::xml::Document document = tv::xml::Document::Parse("<SERVICIO/>", "baseline");
  tv::xml::Node block = document.Root().AppendElement("BLOQUE_DATOS").AppendElement("grupo_datos");
  std::vector<tv::xml::Node> groups;
  for (std::size_t t = 0; t < std::max<std::size_t>(teacher_count, 1); ++t) {
    tv::xml::Node group = block.AppendElement("grupo_datos");
    group.SetAttribute("seq", "HORARIO_REGULAR_PROFESOR_" + std::to_string(t + 1));
    for (const char* name : {"X_EMPLEADO", "F_TOMAPOS"}) {
      tv::xml::Node field = group.AppendElement("dato");
      field.SetAttribute("nombre_dato", name);
      field.SetText("12345");
    }
    groups.push_back(group);
  }
  static const char* const kNames[] = {
      "N_DIASEMANA", "X_TRAMO", "X_DEPENDENCIA", "X_UNIDAD", "X_OFERTAMATRIG", "X_MATERIAOMG",
      "F_INICIO",    "F_FIN",   "N_HORINI",      "N_HORFIN", "X_ACTIVIDAD"};
  std::size_t row = 0;
  for (solution.First(); !solution.Eof(); solution.Next(), ++row) {
    std::vector<std::string> values;
    for (std::size_t f : fields) values.push_back(solution.GetText(f));
    tv::xml::Node lesson = groups[row % groups.size()].AppendElement("grupo_datos");
    lesson.SetAttribute("seq", "ACTIVIDAD_" + std::to_string(row + 1));
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      tv::xml::Node field = lesson.AppendElement("dato");
      field.SetAttribute("nombre_dato", kNames[i]);
      const std::string& value = values[i % values.size()];
      if (!value.empty()) field.SetText(value);
    }
  }
  solution.Close();
  document.Save(output);
  return Seconds(start);
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
  CLI::App app{"Times the import at growing school sizes", "bench-import"};
  std::string sizes_text = "1,10,100";
  std::string folder_text = (fs::temp_directory_path() / "tv-bench-import").string();
  std::string make_school = TV_MAKE_SCHOOL;
  std::string program_folder = TV_PROGRAM_FOLDER;
  app.add_option("--sizes", sizes_text, "Scales N, comma-separated");
  app.add_option("--folder", folder_text, "Where the schools are made (emptied first)");
  app.add_option("--make-school", make_school, "The make-school program");
  app.add_option("--program-folder", program_folder, "The folder holding NIVELEX.DBF");
  CLI11_PARSE(app, argc, argv);

  try {
    const fs::path folder = folder_text;
    std::printf("%6s %10s %12s %12s %12s %7s\n", "N", "lessons", "import (s)", "baseline (s)",
                "output (MB)", "ratio");
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

      const auto start = Clock::now();
      const tv::RunReport report = tv::RunImport(folders, ui, selected);
      const double import_seconds = Seconds(start);
      if (report.outcome != tv::RunOutcome::kFinished) return 1;
      const double baseline_seconds = Baseline(dir / "QTEMP", dir / "baseline.xml");

      std::printf("%6d %10zu %12.3f %12.3f %12.1f %7.2f\n", n, solution.lessons, import_seconds,
                  baseline_seconds, static_cast<double>(fs::file_size(report.output_file)) / 1e6,
                  import_seconds / baseline_seconds);
      std::fflush(stdout);
    }
  } catch (const tv::RunError& error) {
    std::cerr << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  }
  return 0;
}
