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

std::uint32_t SolutionRows::Intern(TextField field, std::string text) {
  const auto [it, added] = ids_[field].try_emplace(std::move(text), static_cast<std::uint32_t>(0));
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

  // A solver writes a teacher's sessions one after another, so a field often holds the
  // text of the row before: that text's id is taken again without looking it up.
  struct LastText {
    explicit LastText(TextField of) : field(of) {}
    TextField field;
    std::string text;
    std::uint32_t id = 0;
    bool set = false;
  };
  auto id_of = [&rows](LastText& last, std::string text) {
    if (!last.set || text != last.text) {
      last.id = rows.Intern(last.field, text);
      last.text = std::move(text);
      last.set = true;
    }
    return last.id;
  };
  LastText last_prof{kTeacher}, last_day{kDay}, last_frame{kFrame}, last_subject{kSubject},
      last_group{kGroup}, last_task{kTask}, last_room{kRoom};

  // The lessons in table order with their teacher codes, then grouped by teacher code.
  std::vector<SolutionRow> in_table_order;
  std::vector<std::uint32_t> teacher_of;
  in_table_order.reserve(solution.RecordCount());
  teacher_of.reserve(solution.RecordCount());
  std::size_t row_number = 0;
  for (solution.First(); !solution.Eof(); solution.Next()) {
    ++row_number;
    std::string day = solution.GetText(dia);
    SolutionRow row{};
    try {
      if (ReadWhole(day, "DIA", row_number) == 0) continue;
      row.hour = ReadWhole(solution.GetText(hora), "HORA", row_number);
    } catch (const RunError& error) {
      rows.error_of_teacher_.try_emplace(solution.GetText(prof), error.message());
      continue;
    }
    row.day = id_of(last_day, std::move(day));
    row.frame = id_of(last_frame, LeftPart(solution.GetText(marco), 1));
    row.subject = id_of(last_subject, solution.GetText(asig));
    row.group = id_of(last_group, solution.GetText(codgrupo));
    row.task = id_of(last_task, solution.GetText(tarea));
    row.room = id_of(last_room, solution.GetText(aula));
    teacher_of.push_back(id_of(last_prof, solution.GetText(prof)));
    in_table_order.push_back(row);
  }

  // A counting sort, which keeps the table order within each teacher code.
  rows.lessons_of_text_.assign(rows.texts_.size(), Range{});
  for (const std::uint32_t teacher : teacher_of) ++rows.lessons_of_text_[teacher].end;
  std::uint32_t begin = 0;
  for (Range& range : rows.lessons_of_text_) {
    const std::uint32_t count = range.end;
    range.begin = range.end = begin;
    begin += count;
  }
  rows.lessons_.resize(in_table_order.size());
  for (std::size_t i = 0; i < in_table_order.size(); ++i) {
    rows.lessons_[rows.lessons_of_text_[teacher_of[i]].end++] = in_table_order[i];
  }
  return rows;
}

void SolutionRows::CheckReadable(const std::string& teacher_code) const {
  const auto found = error_of_teacher_.find(teacher_code);
  if (found != error_of_teacher_.end()) throw RunError(found->second);
}

std::span<const SolutionRow> SolutionRows::LessonsOf(const std::string& teacher_code) const {
  const auto found = ids_[kTeacher].find(teacher_code);
  if (found == ids_[kTeacher].end()) return {};
  const Range range = lessons_of_text_[found->second];
  return std::span<const SolutionRow>(lessons_).subspan(range.begin, range.end - range.begin);
}

std::vector<std::string> SolutionRows::TeacherCodes() const {
  std::vector<std::string> codes;
  for (std::size_t id = 0; id < lessons_of_text_.size(); ++id) {
    if (lessons_of_text_[id].end > lessons_of_text_[id].begin) codes.push_back(texts_[id]);
  }
  return codes;
}

}  // namespace tv
