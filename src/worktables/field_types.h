// The one mapping between the four field types of the work tables and the physical
// dBase types written for them: character C n, integer N 11.0, floating-point N 20.4,
// logical L 1. Reading goes the other way for tables that others wrote.
#pragma once

#include "worktables/table.h"

namespace tv::worktables {

struct PhysicalType {
  char type = 'C';
  int length = 0;
  int decimals = 0;
};

// The physical type written for a defined field. Character widths are the caller's
// (checked when the table is created).
PhysicalType PhysicalTypeOf(const FieldDef& field);

// The field type a physical field of an existing table reads as: N without decimals,
// I and + are integers; N with decimals, F, B, O and Y are floating-point; L is logical;
// everything else reads as text.
FieldType LogicalTypeOf(char type, int decimals);

}  // namespace tv::worktables
