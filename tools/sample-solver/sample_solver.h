// A stand-in for Velorim, for the demo, the tests and the benchmarks (not part of the
// product): reads the work tables of an export and writes a plausible solution SOLUC.
//
// Every teaching load (ASIGT) gets its sessions (one per "1" of SESIONES, 4 as a rule)
// in slots of its group's frame, on different days and without teacher or group clashes
// where the frame leaves room; teachers are handed out in turn, rooms come from AULAT in
// turn (now and then none). A group's frame is its MARCO in GRUPOST; the export gives
// every group frame "0", so when the slot table holds two frames every second group is
// moved to the other one, as a school puts its afternoon groups there. Some teachers also
// get activity rows (ASIGNOMT rows marked ESTAREA), half with TAREA written and half
// blank, and a few sessions stay unplaced as rows with DIA 0. The same tables and variant number
// always give the same solution.
#pragma once

#include <cstddef>
#include <filesystem>

namespace tv::sample {

struct SolverSummary {
  std::size_t rows = 0;        // rows written
  std::size_t lessons = 0;     // rows with a day (DIA not 0)
  std::size_t unplaced = 0;    // rows with DIA 0
  std::size_t clashes = 0;     // sessions placed over a teacher or group already busy
  std::size_t activities = 0;  // activity rows
};

// Writes SOLUC.DBF into `work_folder`, replacing an earlier one. Throws RunError.
SolverSummary SolveSample(const std::filesystem::path& work_folder, unsigned variant);

}  // namespace tv::sample
