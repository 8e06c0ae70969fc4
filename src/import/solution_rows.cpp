#include "import/solution_rows.h"

#include "util/run_error.h"
#include "util/text.h"

namespace tv {
namespace {

// A numeric field read as a whole number: an empty field reads as 0.
int ReadWhole(const std::string& text, const char* field, std::size_t row) {
  const std::string trimmed = AllTrim(text);
  if (trimmed.empty()) return 0;
  try {
    return ParseInteger(trimmed);
  } catch (const RunError& error) {
    throw RunError(error.message() + " (SOLUC, registro " + std::to_string(row) + ", campo " +
                   field + ")");
  }
}

}  // namespace

std::uint32_t SolutionRows::Intern(std::string text) {
  const auto [it, added] = ids_.try_emplace(std::move(text), static_cast<std::uint32_t>(0));
  if (added) {
    it->second = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(it->first);
  }
  return it->second;
}

SolutionRows SolutionRows::Read(worktables::Table& solution) {
  SolutionRows rows;
  const std::size_t prof = solution.FieldIndex("PROF");
  const std::size_t dia = solution.FieldIndex("DIA");
  const std::size_t hora = solution.FieldIndex("HORA");
  const std::size_t marco = solution.FieldIndex("MARCO");
  const std::size_t asig = solution.FieldIndex("ASIG");
  const std::size_t codgrupo = solution.FieldIndex("CODGRUPO");
  const std::size_t tarea = solution.FieldIndex("TAREA");
  const std::size_t aula = solution.FieldIndex("AULA");

  std::size_t row_number = 0;
  for (solution.First(); !solution.Eof(); solution.Next()) {
    ++row_number;
    std::string day = solution.GetText(dia);
    SolutionRow row{};
    try {
      if (ReadWhole(day, "DIA", row_number) == 0) {
        ++rows.unplaced_of_teacher_[solution.GetText(prof)];
        continue;
      }
      row.hour = ReadWhole(solution.GetText(hora), "HORA", row_number);
    } catch (const RunError& error) {
      rows.error_of_teacher_.try_emplace(solution.GetText(prof), error.message());
      continue;
    }
    row.day = rows.Intern(std::move(day));
    row.frame = rows.Intern(LeftPart(solution.GetText(marco), 1));
    row.subject = rows.Intern(solution.GetText(asig));
    row.group = rows.Intern(solution.GetText(codgrupo));
    row.task = rows.Intern(solution.GetText(tarea));
    row.room = rows.Intern(solution.GetText(aula));
    rows.by_teacher_[solution.GetText(prof)].push_back(row);
    ++rows.lesson_count_;
  }
  return rows;
}

void SolutionRows::CheckReadable(const std::string& teacher_code) const {
  const auto found = error_of_teacher_.find(teacher_code);
  if (found != error_of_teacher_.end()) throw RunError(found->second);
}

std::span<const SolutionRow> SolutionRows::LessonsOf(const std::string& teacher_code) const {
  const auto found = by_teacher_.find(teacher_code);
  if (found == by_teacher_.end()) return {};
  return found->second;
}

std::size_t SolutionRows::UnplacedOf(const std::string& teacher_code) const {
  const auto found = unplaced_of_teacher_.find(teacher_code);
  return found == unplaced_of_teacher_.end() ? 0 : found->second;
}

std::vector<std::string> SolutionRows::TeacherCodes() const {
  std::vector<std::string> codes;
  codes.reserve(by_teacher_.size());
  for (const auto& [code, lessons] : by_teacher_) codes.push_back(code);
  return codes;
}

}  // namespace tv
