// A whole export of a fuzzed exchange file into a work folder of its own, with a level
// table in the program folder. Every run either finishes or stops with a message of ours
// (checked by the front end); the folder is emptied again after each run.
#include <cstddef>
#include <cstdint>

#include "export/export_run.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

struct Folders {
  fs::path root;
  tv::RunFolders run;
};

const Folders& TheFolders() {
  static const Folders folders = [] {
    Folders f;
    f.root = tv::fuzz::ScratchFolder("export");
    f.run.work_folder = f.root / "QTEMP";
    f.run.program_folder = f.root / "programa";
    fs::create_directories(f.run.work_folder);
    fs::create_directories(f.run.program_folder);
    tv::fuzz::WriteLevelTable(f.run.program_folder);
    return f;
  }();
  return folders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Folders& folders = TheFolders();
  const fs::path file = folders.root / "centro.xml";
  tv::fuzz::WriteBytes(file, data, size);
  tv::fuzz::FuzzUi ui(file);
  fs::path selected;
  (void)tv::RunExport(folders.run, ui, selected);
  tv::fuzz::EmptyFolder(folders.run.work_folder);
  return 0;
}
