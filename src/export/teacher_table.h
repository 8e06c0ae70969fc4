// Export step 3: the teacher table PROFT, one row per teacher of "EMPLEADOS", with a
// teacher code made of the first characters of the three name parts, unique within the
// table regardless of letter case.
#pragma once

#include "export/export_context.h"

namespace tv {

// Recreates PROFT and fills it. Throws RunError when no unique code is left for a teacher.
void BuildTeacherTable(ExportContext& context);

}  // namespace tv
