// Export step 7: the time-slot tables. The user chooses one or two time frames of
// "JORNADAS_ESCOLARES" (asked only when the file holds two or more); DIASHORAST gets a
// row for every day 1 to 7 and every time slot of "TRAMOS_HORARIOS" in a chosen frame,
// numbered by day and hour and marked with the frame number (0 for the frame whose first
// slot on day 1 starts earlier); DIASHORAST2 is created empty with its index on ORDEN;
// PERIODOS gets the code, name and dates of each chosen frame.
#pragma once

#include <string>

#include "export/export_context.h"

namespace tv {

// Builds the three tables. Throws RunError when the file holds no time frame or a slot
// time is not a whole number, and FrameChoiceCancelled when the user gives up the choice.
void BuildTimeSlotTables(ExportContext& context);

}  // namespace tv
