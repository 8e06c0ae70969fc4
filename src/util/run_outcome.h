// What a run tells its front end when it ends, and the folders it works in.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "util/report_entry.h"

namespace tv {

// The folders a run works with; the front end decides them, the core never guesses.
struct RunFolders {
  std::filesystem::path work_folder;     // Velorim's work folder
  std::filesystem::path program_folder;  // holds NIVELEX.DBF
};

enum class RunOutcome {
  kFinished,  // "Proceso finalizado" was shown
  kNoFile,    // "No existe archivo" was shown (no file chosen, or it is gone)
  kRefused,   // a check refused the run (level table or period table missing, ...)
  kFailed,    // an error ended the run; it was shown with ShowError
};

struct RunReport {
  RunOutcome outcome = RunOutcome::kFailed;
  // For a finished run: what was written, as (label, count) pairs in a sensible order,
  // e.g. ("ASIGNOMT", 60) for the export or ("profesores", 30) for the import.
  std::vector<std::pair<std::string, std::size_t>> counts;
  // The output file of an import.
  std::filesystem::path output_file;
  // Everything the run decided that its user should know, in the order it was decided.
  std::vector<ReportEntry> entries;
};

}  // namespace tv
