// What the import asks of Velorim's solution table (SOLUC) before reading any row.
#pragma once

#include "worktables/table.h"

namespace tv {

// Throws RunError naming the table and the field when one of the fields the import reads
// (PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA, AULA) is missing or stored with a type
// that holds neither a text nor a number: a logical or date DIA would otherwise read as
// "no lesson" on every row, and the result would silently lose the whole timetable.
void CheckSolutionFields(const worktables::Table& solution);

}  // namespace tv
