#include "export/export_context.h"

#include <algorithm>
#include <memory>
#include <set>
#include <tuple>

#include "util/text.h"

namespace tv {

std::string RecordPlace(const std::string& block, std::size_t index) {
  return " (bloque " + block + ", registro " + std::to_string(index + 1) + ")";
}

void ExportContext::Note(EntryKind kind, const RecordInfo& record, std::string reason,
                         std::string field, std::string value) {
  entries.push_back(ReportEntry{kind, record.block, record.index + 1, record.key, record.name,
                                std::move(field), std::move(value), std::move(reason)});
}

void ExportContext::WatchCuts(worktables::Table& table, const std::string& table_name,
                              const RecordInfo& record, std::vector<std::string> cut_by_design) {
  // A row written again and again for one record (a slot for every day, a load for every
  // group) is noted once.
  auto noted = std::make_shared<std::set<std::tuple<std::string, std::size_t, std::string>>>();
  table.OnTextCut([this, table_name, &record, cut_by_design = std::move(cut_by_design), noted](
                      std::string_view field, std::string_view value, std::size_t width) {
    const std::string name(field);
    if (std::find(cut_by_design.begin(), cut_by_design.end(), name) != cut_by_design.end()) {
      return;
    }
    if (!noted->emplace(record.block, record.index, name).second) return;
    Note(EntryKind::kCutText, record,
         "el texto tiene " + std::to_string(value.size()) + " caracteres y el campo " + table_name +
             "." + name + " " + std::to_string(width) + ": se guarda '" +
             std::string(value.substr(0, width)) + "'",
         table_name + "." + name, std::string(value));
  });
}

void NoteIfNumbered(ExportContext& context, const RecordInfo& record, const std::string& first_try,
                    const std::string& code, const std::string& field, const std::string& what) {
  const std::string taken = RTrim(first_try);
  if (code == taken) return;
  context.Note(EntryKind::kNumberedCode, record,
               "el c\xF3"
               "digo '" +
                   taken + "' ya estaba dado: " + what + " recibe '" + code + "'",
               field, code);
}

void NoteTooFewFields(ExportContext& context, const RecordInfo& record,
                      const RecordFieldList& fields) {
  std::string reason =
      fields.empty() ? std::string("el registro no tiene campos")
                     : "el registro tiene un solo campo ('" + AllTrim(FieldText(fields, 0)) + "')";
  context.Note(EntryKind::kSkippedRecord, record, reason + ": no se escribe");
}

}  // namespace tv
