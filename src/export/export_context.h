// What the seven export steps share during one run: the loaded exchange file, the folder
// they build their tables in, the program folder with the level table, the front end (for
// the frame choice), the subject step's two lists, the rows written per table and what
// the steps decided that the user should know (the run's report entries).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "export/code_list.h"
#include "util/report_entry.h"
#include "util/run_error.h"
#include "util/user_interface.h"
#include "worktables/work_folder.h"

namespace tv {

// The block record a step is working on, as its report entries name it.
struct RecordInfo {
  RecordInfo(std::string block, std::size_t index = 0, std::string key = {}, std::string name = {})
      : block(std::move(block)), index(index), key(std::move(key)), name(std::move(name)) {}
  std::string block;
  std::size_t index;  // from 0, in the block
  std::string key;
  std::string name;
};

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
  // Each upper-cased name with the code given to it, for the report.
  std::unordered_map<std::string, std::string> used_names;

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

  // What the steps decided, in the order they decided it.
  std::vector<ReportEntry> entries;
  void Note(EntryKind kind, const RecordInfo& record, std::string reason, std::string field = {},
            std::string value = {});
  // Notes every text that `table` (named `table_name`) stores cut, as a text of the record
  // that `record` names at that moment (the caller keeps it up to date), once per record
  // and field. Fields in `cut_by_design` are left out: they are meant to keep only a part.
  void WatchCuts(worktables::Table& table, const std::string& table_name, const RecordInfo& record,
                 std::vector<std::string> cut_by_design = {});
};

// The user gave up the frame choice: the run ends without changing anything and shows
// this message (not an error box).
class FrameChoiceCancelled : public RunError {
 public:
  using RunError::RunError;
};

// Where a value came from, for messages: " (bloque X, registro n)" with n counted from 1.
std::string RecordPlace(const std::string& block, std::size_t index);

// The entry of a record whose code, `first_try` taken, was numbered into `code`; nothing
// when the code is `first_try` itself. `what` names the record: "el profesor".
void NoteIfNumbered(ExportContext& context, const RecordInfo& record, const std::string& first_try,
                    const std::string& code, const std::string& field, const std::string& what);

// The entry of a block record that a table step skips because it has at most one field.
void NoteTooFewFields(ExportContext& context, const RecordInfo& record,
                      const RecordFieldList& fields);

}  // namespace tv
