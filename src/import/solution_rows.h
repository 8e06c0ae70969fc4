// Velorim's solution (SOLUC) read once, in table order, its lessons grouped by teacher
// code. A teacher's rows are those whose PROF equals the teacher code exactly, letter
// case included, in table order; rows whose DIA reads as the whole number 0 are no
// lessons and are left out. A lesson is a compact record of numbers: each text is stored
// once and named by its number, so the memory grows with the lessons by a few bytes each
// and with the different texts, never with a string per row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "worktables/table.h"

namespace tv {

// One solved lesson; the texts are ids into the owning SolutionRows.
struct SolutionRow {
  std::uint32_t subject;  // ASIG
  std::uint32_t group;    // CODGRUPO
  std::uint32_t task;     // TAREA
  std::uint32_t room;     // AULA
  std::uint32_t day;      // DIA, as its text
  std::uint32_t frame;    // first character of MARCO (empty when MARCO is)
  std::int32_t hour;      // HORA, as a whole number
};

class SolutionRows {
 public:
  // Reads every row of the open solution table. A DIA that is not a whole number, or
  // the HORA of a lesson that is not, is kept as the error of the row's teacher code.
  static SolutionRows Read(worktables::Table& solution);

  // Throws RunError, naming the table, the row and the field, when a row of this teacher
  // code has a DIA, or a lesson of it a HORA, that is not a whole number. Rows of codes
  // that are no teacher's are never read further than their PROF.
  void CheckReadable(const std::string& teacher_code) const;

  // The lessons of one teacher code, in table order (empty for an unknown code).
  std::span<const SolutionRow> LessonsOf(const std::string& teacher_code) const;
  const std::string& Text(std::uint32_t id) const { return texts_[id]; }

  // The number of lessons of all teacher codes.
  std::size_t LessonCount() const { return lessons_.size(); }
  // The teacher codes that have lessons.
  std::vector<std::string> TeacherCodes() const;

 private:
  // The fields whose texts are kept; each has its own ids, so that the lookups of a
  // field with few different texts (days, frames) stay in a small table.
  enum TextField { kTeacher, kDay, kFrame, kSubject, kGroup, kTask, kRoom, kTextFields };

  // The id of a text of a field, given to it the first time it is seen.
  std::uint32_t Intern(TextField field, std::string text);

  std::vector<std::string> texts_;
  std::unordered_map<std::string, std::uint32_t> ids_[kTextFields];
  // Every lesson, those of each teacher code together and in table order.
  std::vector<SolutionRow> lessons_;
  // Where the lessons of a teacher code lie in lessons_, by the code's text id.
  struct Range {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };
  std::vector<Range> lessons_of_text_;
  std::unordered_map<std::string, std::string> error_of_teacher_;  // the first one
};

}  // namespace tv
