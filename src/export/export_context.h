// What the seven export steps share during one run: the loaded exchange file, the folder
// they build their tables in, the program folder with the level table, the front end (for
// the frame choice), the subject step's two lists, and the rows written per table.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "exchange/xml_document.h"
#include "export/code_list.h"
#include "util/run_error.h"
#include "util/user_interface.h"
#include "worktables/work_folder.h"

namespace tv {

struct ExportContext {
  ExportContext(const xml::Document& document, worktables::WorkFolder& tables,
                std::filesystem::path program_folder, std::filesystem::path exchange_file,
                UserInterface& ui)
      : document(document),
        tables(tables),
        program_folder(std::move(program_folder)),
        exchange_file(std::move(exchange_file)),
        ui(ui) {}

  const xml::Document& document;
  worktables::WorkFolder& tables;        // where the steps create their tables
  std::filesystem::path program_folder;  // holds NIVELEX.DBF
  std::filesystem::path exchange_file;   // the file the frame dialog reads again
  UserInterface& ui;

  // UsedCodes and UsedNames of the subject step: case-sensitive, whole texts. Emptied
  // once the activities are written.
  CodeList used_codes{CodeList::Case::kSensitive};
  std::unordered_set<std::string> used_names;

  // Rows written, per table, in the order the tables were first written.
  std::vector<std::pair<std::string, std::size_t>> counts;
  void Count(const std::string& table, std::size_t rows) {
    for (auto& [name, count] : counts) {
      if (name == table) {
        count += rows;
        return;
      }
    }
    counts.emplace_back(table, rows);
  }
};

// The user gave up the frame choice: the run ends without changing anything and shows
// this message (not an error box).
class FrameChoiceCancelled : public RunError {
 public:
  using RunError::RunError;
};

// Where a value came from, for messages: " (bloque X, registro n)" with n counted from 1.
std::string RecordPlace(const std::string& block, std::size_t index);

}  // namespace tv
