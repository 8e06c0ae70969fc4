// make-nivelex ROWS.txt FOLDER: writes FOLDER/NIVELEX.DBF, the level table the export
// reads, from rows kept as text (X_OFERTAMATRIG, NIVEL_ABREV and ESTUDIO separated by
// tabs, UTF-8; empty lines and lines starting with '#' are skipped). Its field names are
// longer than ten characters, so the table engine writes it as dBase 7.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "util/cp1252.h"
#include "util/run_error.h"
#include "util/text.h"
#include "worktables/table.h"

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    parts.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return parts;
    start = tab + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make-nivelex ROWS.txt FOLDER\n";
    return 2;
  }
  try {
    std::ifstream rows(argv[1]);
    if (!rows) throw tv::RunError(std::string("No se puede leer ") + argv[1]);
    using tv::worktables::FieldType;
    tv::worktables::Table table(argv[2], "NIVELEX.DBF");
    table.AddField({"X_OFERTAMATRIG", FieldType::kInteger, 0});
    table.AddField({"NIVEL_ABREV", FieldType::kCharacter, 10});
    table.AddField({"ESTUDIO", FieldType::kCharacter, 100});
    table.Create();
    table.Open(tv::worktables::OpenMode::kExclusive);
    std::string line;
    int number = 0;
    while (std::getline(rows, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line.front() == '#') continue;
      const std::vector<std::string> parts = SplitTabs(line);
      if (parts.size() != 3) {
        throw tv::RunError(std::string(argv[1]) + ", l\xEDnea " + std::to_string(number) +
                           ": se esperan 3 columnas separadas por tabuladores");
      }
      table.Append();
      table.SetInt("X_OFERTAMATRIG", tv::ParseInteger(tv::AllTrim(parts[0])));
      table.SetText("NIVEL_ABREV", tv::Utf8ToCp1252(parts[1]));
      table.SetText("ESTUDIO", tv::Utf8ToCp1252(parts[2]));
      table.Post();
    }
    table.Close();
  } catch (const tv::RunError& error) {
    std::cerr << "make-nivelex: " << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  }
  return 0;
}
