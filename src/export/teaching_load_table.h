// Export step 6: the teaching-load table ASIGT, one row for each subject of "MATERIAS"
// and each group of the subject's course. The subject's code is looked up by name in the
// subject table, the groups by course key in the group table, both as written earlier in
// the run; each table is read once into a map that keeps the first match in table order.
#pragma once

#include "export/export_context.h"

namespace tv {

// Recreates ASIGT and fills it from the exchange file, ASIGNOMT and GRUPOST.
void BuildTeachingLoadTable(ExportContext& context);

}  // namespace tv
