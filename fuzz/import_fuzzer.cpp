// A whole import over a fuzzed solution table (SOLUC.DBF), beside the work tables that an
// export of a small school built (the school the seed solutions were solved for). Every run either
// finishes or stops with a message of ours (checked by the front end).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "export/export_run.h"
#include "fuzz_support.h"
#include "import/import_run.h"

#ifndef TV_SOURCE_DIR
#error "TV_SOURCE_DIR names the source folder (for the small school)"
#endif

namespace {

namespace fs = std::filesystem;

struct Folders {
  fs::path root;
  fs::path input;
  tv::RunFolders run;
};

const Folders& TheFolders() {
  static const Folders folders = [] {
    Folders f;
    f.root = tv::fuzz::ScratchFolder("import");
    f.input = f.root / "centro.xml";
    f.run.work_folder = f.root / "QTEMP";
    f.run.program_folder = f.root / "programa";
    fs::create_directories(f.run.work_folder);
    fs::create_directories(f.run.program_folder);
    fs::copy_file(fs::path(TV_SOURCE_DIR) / "fuzz" / "seeds" / "exchange" / "mini_school.xml",
                  f.input);
    tv::fuzz::WriteLevelTable(f.run.program_folder);
    // The work tables of the school, with both of its time frames.
    tv::fuzz::FuzzUi ui(f.input);
    fs::path selected;
    if (tv::RunExport(f.run, ui, selected).outcome != tv::RunOutcome::kFinished) {
      std::fprintf(stderr, "the export of the small school failed: %s\n", ui.last_message.c_str());
      std::abort();
    }
    return f;
  }();
  return folders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Folders& folders = TheFolders();
  tv::fuzz::WriteBytes(folders.run.work_folder / "SOLUC.DBF", data, size);
  tv::fuzz::FuzzUi ui(folders.input);
  fs::path selected;
  const tv::RunReport report = tv::RunImport(folders.run, ui, selected);
  if (!report.output_file.empty()) fs::remove(report.output_file);
  return 0;
}
