// Export steps 1 and 2: the subject table ASIGNOMT, first the subjects of "MATERIAS"
// with codes made up from their names and kept unique, then the activities of
// "ACTIVIDADES" with the codes the file gives them.
#pragma once

#include "export/export_context.h"

namespace tv {

// Recreates ASIGNOMT and writes one row per subject whose upper-cased name was not
// written before (a subject whose name is empty is left out). Fills the context's
// UsedCodes and UsedNames. Throws RunError when no unique code is left for a subject.
void BuildSubjectTable(ExportContext& context);

// Appends one row per activity to ASIGNOMT, then empties UsedCodes and UsedNames.
void AddActivities(ExportContext& context);

}  // namespace tv
