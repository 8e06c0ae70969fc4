#include "export/level_table.h"

#include <vector>

#include "util/env.h"
#include "util/run_error.h"
#include "util/text.h"
#include "worktables/table.h"

namespace tv {

namespace {

// The field's position under its full name or under the name cut to ten characters.
std::size_t FieldOf(const worktables::Table& table, const std::string& name,
                    const std::string& file) {
  const std::string cut = name.substr(0, 10);
  const auto& fields = table.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string field = UpperAscii(fields[i].name);
    if (field == name || field == cut) return i;
  }
  throw RunError("La tabla de niveles " + file + " no tiene el campo " + name +
                 ": Reinstale TRANSVELORORTELIA");
}

// The whole number a key field holds, when it holds one.
std::optional<int> WholeNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  try {
    return ParseInteger(text);
  } catch (const RunError&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<std::filesystem::path> LevelTable::Find(const std::filesystem::path& program_folder) {
  return env::FindFileNoCase(program_folder, kLevelTableName);
}

LevelTable LevelTable::Load(const std::filesystem::path& program_folder) {
  const auto file = Find(program_folder);
  if (!file) {
    throw RunError("ATENCI\xD3N - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA");
  }
  worktables::Table table(program_folder, file->filename().string());
  table.Open(worktables::OpenMode::kShared);
  const std::string file_text = env::PathText(*file);
  const std::size_t key = FieldOf(table, "X_OFERTAMATRIG", file_text);
  const std::size_t level = FieldOf(table, "NIVEL_ABREV", file_text);
  const std::size_t study = FieldOf(table, "ESTUDIO", file_text);
  LevelTable result;
  for (table.First(); !table.Eof(); table.Next()) {
    if (const auto number = WholeNumber(table.GetText(key))) {
      result.rows_.try_emplace(*number, LevelRow{table.GetText(level), table.GetText(study)});
    }
  }
  table.Close();
  return result;
}

const LevelRow* LevelTable::Find(int course_key) const {
  const auto found = rows_.find(course_key);
  return found == rows_.end() ? nullptr : &found->second;
}

}  // namespace tv
