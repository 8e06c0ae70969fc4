// The schedule block of the output: one teacher group per row of the teacher table
// (PROFT, in table order) and in it one activity group per solved lesson of the
// teacher's code, each mapped back from Velorim's codes to Ortelia's keys through the
// work tables. Every lookup takes the first matching row in table order; a lookup that
// finds nothing gives empty values, never those of the lesson before.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/output_document.h"
#include "util/report_entry.h"
#include "worktables/table.h"

namespace tv {

// The open tables the schedule is read from.
struct ScheduleTables {
  worktables::Table& solution;  // SOLUC
  worktables::Table& teachers;  // PROFT
  worktables::Table& loads;     // ASIGT
  worktables::Table& subjects;  // ASIGNOMT
  worktables::Table& slots;     // DIASHORAST
  worktables::Table& groups;    // GRUPOST
};

// The dates of validity of the first period row, the same for every lesson.
struct PeriodDates {
  std::string start;  // FECINI
  std::string end;    // FECFIN
};

struct ScheduleSummary {
  std::size_t teachers = 0;         // teacher groups written
  std::size_t lessons = 0;          // activity groups written
  std::size_t without_slot = 0;     // lessons whose day and hour match no slot row
  std::size_t without_load = 0;     // lessons whose subject and group match no teaching load
  std::size_t without_group = 0;    // lessons whose group code matches no group
  std::size_t unknown_teacher = 0;  // solved lessons whose teacher code is no teacher's
  std::size_t unplaced = 0;         // rows of teachers' codes with DIA 0: no lessons
  // Every key a lesson was written without (which code, looked up in which table, for
  // which teacher, day and hour), rows not placed, rows of codes no teacher has, and
  // teachers without lessons.
  std::vector<ReportEntry> entries;
};

// Fills the schedule block of `output`. Throws RunError when a DIA or HORA of the
// solution is not a whole number, or the start or end time of a slot row that a lesson
// takes is not a clock text.
ScheduleSummary AssembleSchedule(const ScheduleTables& tables, const PeriodDates& dates,
                                 OutputDocument& output);

}  // namespace tv
