// What changed since the last export: before the new tables replace the old ones, the rows
// of each are compared by the key that names them (a teacher's X_EMPLEADO, a subject's or
// a room's name, a group's CLAVE...). Every key added or removed is noted, and above all
// every code (teacher, room, group, subject) that now names a different key than before:
// a solution or a change the user made in Velorim under that code now points elsewhere.
#pragma once

#include <filesystem>
#include <vector>

#include "util/report_entry.h"

namespace tv {

// Compares the tables of `new_folder` with those of the same names in `work_folder`. A
// work folder without any of them gives one entry saying there was nothing to compare
// with; one that cannot be read gives an entry, never an error. Each table is read once
// and compared through maps, the first row of a key or code in table order counting.
// Throws RunError when a table of `new_folder` cannot be read.
std::vector<ReportEntry> CompareWithLastExport(const std::filesystem::path& work_folder,
                                               const std::filesystem::path& new_folder);

}  // namespace tv
