// The level table "NIVELEX.DBF" delivered beside the program: for a course key, the
// level's short name and the study's name. It is a dBase 7 table, since its field names
// X_OFERTAMATRIG and NIVEL_ABREV are longer than dBase IV allows; a table whose names an
// older writer cut to ten characters (X_OFERTAMA, NIVEL_ABRE) is read as well.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

namespace tv {

inline constexpr const char* kLevelTableName = "NIVELEX.DBF";

struct LevelRow {
  std::string level;  // NIVEL_ABREV
  std::string study;  // ESTUDIO
};

class LevelTable {
 public:
  // The file in `program_folder`, found whatever its letter case, or nothing.
  static std::optional<std::filesystem::path> Find(const std::filesystem::path& program_folder);

  // Reads every row once. Throws RunError when the table is missing, cannot be read or
  // lacks one of the three fields.
  static LevelTable Load(const std::filesystem::path& program_folder);

  // The first row, in table order, whose X_OFERTAMATRIG equals `course_key`.
  const LevelRow* Find(int course_key) const;

  std::size_t Size() const { return rows_.size(); }

 private:
  std::unordered_map<int, LevelRow> rows_;
};

}  // namespace tv
