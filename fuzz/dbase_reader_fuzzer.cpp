// Our dBase engine on any bytes: the header, every row, every field read as text and as
// numbers, filter and locate, the production index (.MDX), and one row appended to a
// table that opened. An input holds the table and, after the line "--MDX--", its index.
// A file is either read or refused with our own error; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "util/run_error.h"
#include "worktables/mdx_index.h"
#include "worktables/table.h"

namespace {

namespace fs = std::filesystem;
using tv::worktables::OpenMode;
using tv::worktables::Table;

constexpr std::string_view kIndexMark = "\n--MDX--\n";

void ReadEverything(Table& table) {
  (void)table.RecordCount();
  (void)table.UncountedRows();
  const std::size_t fields = table.Fields().size();
  std::string first_value;
  for (table.First(); !table.Eof(); table.Next()) {
    for (std::size_t i = 0; i < fields; ++i) {
      const std::string text = table.GetText(i);
      if (first_value.empty()) first_value = text;
      (void)table.StoredType(i);
      const std::string& name = table.Fields()[i].name;
      try {
        (void)table.GetInt(name);
      } catch (const tv::RunError&) {
      }
      try {
        (void)table.GetFloat(name);
      } catch (const tv::RunError&) {
      }
      (void)tv::worktables::NumericKey(text);
    }
  }
  if (fields == 0) return;
  const std::string& name = table.Fields()[0].name;
  (void)table.Locate({name}, {first_value});
  table.SetFilter(name, first_value);
  table.SetFiltered(true);
  for (table.First(); !table.Eof(); table.Next()) (void)table.GetText(std::size_t{0});
  table.SetFiltered(false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path folder = tv::fuzz::ScratchFolder("dbase");
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t mark = input.find(kIndexMark);
  tv::fuzz::EmptyFolder(folder);
  tv::fuzz::WriteBytes(folder / "T.DBF", std::string(input.substr(0, mark)));
  if (mark != std::string_view::npos) {
    tv::fuzz::WriteBytes(folder / "T.MDX", std::string(input.substr(mark + kIndexMark.size())));
    try {
      (void)tv::worktables::ReadMdxTags(folder / "T.MDX");
    } catch (const tv::RunError&) {
    }
  }
  try {
    Table table(folder, "T");
    table.Open(OpenMode::kShared);
    ReadEverything(table);
    table.Close();
    // Writing into a table that opened: one row more, its header and index written anew.
    Table again(folder, "T");
    again.Open(OpenMode::kExclusive);
    again.Append();
    for (const auto& field : again.Fields()) {
      try {
        again.SetText(field.name, "1");
      } catch (const tv::RunError&) {
      }
    }
    again.Post();
    again.Close();
  } catch (const tv::RunError& error) {
    tv::fuzz::CheckPlainMessage(error.message());
  }
  return 0;
}
