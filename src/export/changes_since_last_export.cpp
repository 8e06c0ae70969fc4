#include "export/changes_since_last_export.h"

#include <string>
#include <unordered_map>

#include "util/run_error.h"
#include "worktables/work_folder.h"

namespace tv {

namespace {

// How the rows of a table are told apart, and the code Velorim knows them by.
struct ComparedTable {
  const char* table;
  std::vector<const char*> key_fields;
  const char* code_field;  // nullptr: the table gives out no codes
  const char* name_field;  // nullptr: no name worth showing
  const char* what;        // what one row is, for the reasons
};

const std::vector<ComparedTable> kComparedTables = {
    {"ASIGNOMT", {"NOMBRE"}, "COD", "NOMBRE", "materia"},
    {"PROFT", {"X_EMPLEADO"}, "ABREV", "NOMBRE", "profesor"},
    {"AULAT", {"NOMBRE"}, "ABREV", "NOMBRE", "dependencia"},
    {"CURSOST", {"CLAVE"}, nullptr, "ESTUD", "curso"},
    {"GRUPOST", {"CLAVE"}, "ABREV", nullptr, "unidad"},
    {"ASIGT", {"CASIG", "CGRUP"}, nullptr, nullptr, "carga lectiva"},
    {"DIASHORAST", {"DIHO", "MARCOXML"}, nullptr, "TEXTOHOR", "tramo"},
    {"PERIODOS", {"CJORNADA"}, nullptr, "JORNADA", "Marco Horario"},
};

struct Row {
  std::size_t number = 0;  // from 1, in table order
  std::string key;         // the key fields joined by "/", as shown
  std::string name;
  std::string code;
};

// The rows of one table, the first of each key and the first key of each code.
struct TableRows {
  std::vector<Row> rows;                                 // first row of each key, table order
  std::unordered_map<std::string, std::size_t> by_key;   // into rows
  std::unordered_map<std::string, std::size_t> by_code;  // into rows
  std::vector<std::string> codes;                        // in the order they first come
};

TableRows ReadRows(const std::filesystem::path& folder, const ComparedTable& compared) {
  TableRows result;
  worktables::WorkFolder tables(folder);
  worktables::Table table = tables.OpenWorkTable(compared.table);
  std::vector<std::size_t> keys;
  for (const char* field : compared.key_fields) keys.push_back(table.FieldIndex(field));
  const std::size_t code = compared.code_field ? table.FieldIndex(compared.code_field) : 0;
  const std::size_t name = compared.name_field ? table.FieldIndex(compared.name_field) : 0;
  // Sized once: a big table (ASIGT) would otherwise rehash its maps again and again.
  const std::size_t count = table.RecordCount();
  result.rows.reserve(count);
  result.by_key.reserve(count);
  if (compared.code_field) result.by_code.reserve(count);
  std::size_t number = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    ++number;
    Row row{number,
            {},
            compared.name_field ? table.GetText(name) : std::string(),
            compared.code_field ? table.GetText(code) : std::string()};
    for (std::size_t i = 0; i < keys.size(); ++i)
      row.key += (i ? "/" : "") + table.GetText(keys[i]);
    const auto [at, added] = result.by_key.try_emplace(row.key, result.rows.size());
    if (compared.code_field && result.by_code.try_emplace(row.code, at->second).second) {
      result.codes.push_back(row.code);
    }
    if (added) result.rows.push_back(std::move(row));
  }
  table.Close();
  return result;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The row of `key`, for a reason: "'1' (García Martín, José)".
std::string Described(const Row& row) {
  return Quoted(row.key) + (row.name.empty() || row.name == row.key ? "" : " (" + row.name + ")");
}

void Compare(const ComparedTable& compared, const TableRows& before, const TableRows& now,
             std::vector<ReportEntry>& entries) {
  const std::string code_field =
      compared.code_field ? std::string(compared.table) + "." + compared.code_field : std::string();
  // Codes that now name another key come first: they are what a user must look at.
  if (compared.code_field) {
    for (const std::string& code : now.codes) {
      const auto old = before.by_code.find(code);
      if (old == before.by_code.end()) continue;
      const Row& was = before.rows[old->second];
      const Row& is = now.rows[now.by_code.at(code)];
      if (was.key == is.key) continue;
      std::string reason =
          "el c\xF3"
          "digo " +
          Quoted(code) + " era de " + compared.what + " " + Described(was) + " y ahora es de " +
          Described(is);
      const auto moved = now.by_key.find(was.key);
      if (moved != now.by_key.end()) {
        reason += "; " + Quoted(was.key) +
                  " tiene ahora el c\xF3"
                  "digo " +
                  Quoted(now.rows[moved->second].code);
      } else {
        reason += "; " + Quoted(was.key) + " ya no est\xE1";
      }
      entries.push_back(ReportEntry{EntryKind::kCodeChangedMeaning, compared.table, is.number,
                                    is.key, is.name, code_field, code,
                                    reason + ". Lo que Velorim tenga con este c\xF3"
                                             "digo "
                                             "apunta ahora a otro."});
    }
  }
  for (const Row& row : now.rows) {
    if (before.by_key.contains(row.key)) continue;
    entries.push_back(ReportEntry{
        EntryKind::kKeyAdded, compared.table, row.number, row.key, row.name, code_field, row.code,
        std::string(compared.what) + " nuevo desde la \xFAltima exportaci\xF3n"});
  }
  for (const Row& row : before.rows) {
    if (now.by_key.contains(row.key)) continue;
    entries.push_back(ReportEntry{
        EntryKind::kKeyRemoved, compared.table, row.number, row.key, row.name, code_field, row.code,
        std::string(compared.what) + " de la \xFAltima exportaci\xF3n que ya no est\xE1"});
  }
}

}  // namespace

std::vector<ReportEntry> CompareWithLastExport(const std::filesystem::path& work_folder,
                                               const std::filesystem::path& new_folder) {
  std::vector<ReportEntry> entries;
  const worktables::WorkFolder old_tables(work_folder);
  std::vector<const ComparedTable*> present;
  for (const ComparedTable& compared : kComparedTables) {
    if (old_tables.FileExists(std::string(compared.table) + ".DBF")) present.push_back(&compared);
  }
  if (present.empty()) {
    entries.push_back(ReportEntry{EntryKind::kFirstExport,
                                  {},
                                  0,
                                  {},
                                  {},
                                  {},
                                  {},
                                  "la carpeta de trabajo no ten\xED"
                                  "a tablas de una exportaci\xF3n "
                                  "anterior: no hay nada con que comparar"});
    return entries;
  }
  for (const ComparedTable& compared : kComparedTables) {
    bool there = false;
    for (const ComparedTable* p : present) there = there || p == &compared;
    if (!there) {
      entries.push_back(ReportEntry{EntryKind::kFirstExport,
                                    compared.table,
                                    0,
                                    {},
                                    {},
                                    {},
                                    {},
                                    "la tabla no estaba en la carpeta de trabajo: no hay nada "
                                    "con que comparar"});
      continue;
    }
    TableRows before;
    try {
      before = ReadRows(work_folder, compared);
    } catch (const RunError& error) {
      entries.push_back(
          ReportEntry{EntryKind::kOldTableUnreadable,
                      compared.table,
                      0,
                      {},
                      {},
                      {},
                      {},
                      "no se pudo leer la tabla anterior para compararla: " + error.message()});
      continue;
    }
    Compare(compared, before, ReadRows(new_folder, compared), entries);
  }
  return entries;
}

}  // namespace tv
