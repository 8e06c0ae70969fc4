#include "import/solution_table.h"

#include <string>

#include "util/env.h"
#include "util/run_error.h"

namespace tv {

namespace {

// Character, numeric, floating-point and integer fields read as the text or the number
// the import expects.
bool ReadsAsTextOrNumber(char type) {
  return type == 'C' || type == 'N' || type == 'F' || type == 'I';
}

std::string TypeName(char type) {
  switch (type) {
    case 'L':
      // "lógico" in code page 1252.
      return "l\xF3gico (L)";
    case 'D':
      return "fecha (D)";
    case 'T':
    case '@':
      return std::string("fecha y hora (") + type + ")";
    case 'M':
      return "memo (M)";
    default:
      return std::string("'") + type + "'";
  }
}

}  // namespace

void CheckSolutionFields(const worktables::Table& solution) {
  for (const char* field : {"PROF", "DIA", "HORA", "MARCO", "ASIG", "CODGRUPO", "TAREA", "AULA"}) {
    const char type = solution.StoredType(solution.FieldIndex(field));
    if (!ReadsAsTextOrNumber(type)) {
      throw RunError("el campo " + std::string(field) + " es de tipo " + TypeName(type) +
                     ", y la importaci\xF3n necesita un texto o un n\xFAmero (tabla " +
                     env::PathText(solution.DataFile().filename()) + ")");
    }
  }
}

}  // namespace tv
