// Export step 5: the course table CURSOST from "CURSOS_DEL_CENTRO", each course key
// translated through the level table, and the group table GRUPOST from "UNIDADES", each
// group taking level, course and study from its course's row and getting a group code
// made from its name (stored form: first 8 and last 2 characters of a longer name),
// unique regardless of letter case.
#pragma once

#include "export/export_context.h"

namespace tv {

// Recreates CURSOST and GRUPOST and fills them. Throws RunError "'%s' no es un valor
// entero válido" for a course key that is not a whole number of 32 bits, and when no
// unique code is left for a group.
void BuildCourseAndGroupTables(ExportContext& context);

}  // namespace tv
