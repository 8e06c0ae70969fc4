// Export step 4: the room table AULAT, one row per room of "DEPENDENCIAS". The room code
// is the room's key (or the first six characters of its name when the key is empty),
// unique regardless of letter case; codes longer than ten characters and the numbered
// candidates are taken in their stored form (first 8 and last 2 characters), so two rooms
// never share a code once the field of ten has stored it.
#pragma once

#include "export/export_context.h"

namespace tv {

// Recreates AULAT and fills it. Throws RunError when no unique code is left for a room.
void BuildRoomTable(ExportContext& context);

}  // namespace tv
