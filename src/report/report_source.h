// What a report says about the run beyond its entries: which run, on which files, when,
// and what the run told its user.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tv {

enum class RunKind { kExport, kExportDryRun, kImport };

struct ReportSource {
  RunKind run = RunKind::kExport;
  std::filesystem::path exchange_file;
  std::filesystem::path work_folder;
  std::string date_time;              // when the run ended, code page 1252
  std::vector<std::string> messages;  // what the run showed its user, code page 1252
};

}  // namespace tv
