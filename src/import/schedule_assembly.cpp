#include "import/schedule_assembly.h"

#include <unordered_set>
#include <utility>

#include "import/clock_minutes.h"
#include "import/first_match_index.h"
#include "import/solution_rows.h"
#include "util/run_error.h"
#include "util/text.h"

namespace tv {
namespace {

struct LoadKeys {
  std::string subject_key;  // CLAVE
  std::string course_key;   // CLAVECURSO
};

// A slot row with its times already turned into minutes. A time that is no clock text
// keeps its error, raised only when a lesson takes the slot.
struct SlotRow {
  std::string day;        // DIA
  std::string slot_code;  // CODDIHO
  std::string start_minutes;
  std::string end_minutes;
  std::string error;
};

std::string Minutes(const std::string& clock, const char* field, const std::string& slot_key,
                    const std::string& frame, std::string& error) {
  try {
    return ClockToMinutes(clock);
  } catch (const RunError& e) {
    if (error.empty()) {
      error = e.message() + " (DIASHORAST, campo " + field + " '" + clock + "' del tramo DIHO " +
              slot_key + ", MARCO " + frame + ")";
    }
    return {};
  }
}

struct Lookups {
  FirstMatchIndex<LoadKeys> loads;      // by CASIG and CGRUP
  FirstMatchIndex<std::string> tasks;   // CODTAREA by COD
  FirstMatchIndex<SlotRow> slots;       // by DIHO and MARCO
  FirstMatchIndex<std::string> groups;  // CLAVE by ABREV
};

Lookups BuildLookups(const ScheduleTables& tables) {
  Lookups lookups;
  {
    worktables::Table& t = tables.loads;
    const std::size_t casig = t.FieldIndex("CASIG"), cgrup = t.FieldIndex("CGRUP"),
                      clave = t.FieldIndex("CLAVE"), curso = t.FieldIndex("CLAVECURSO");
    for (t.First(); !t.Eof(); t.Next()) {
      lookups.loads.Add(PairKey(t.GetText(casig), t.GetText(cgrup)),
                        LoadKeys{t.GetText(clave), t.GetText(curso)});
    }
  }
  {
    worktables::Table& t = tables.subjects;
    const std::size_t cod = t.FieldIndex("COD"), codtarea = t.FieldIndex("CODTAREA");
    for (t.First(); !t.Eof(); t.Next()) lookups.tasks.Add(t.GetText(cod), t.GetText(codtarea));
  }
  {
    worktables::Table& t = tables.slots;
    const std::size_t diho = t.FieldIndex("DIHO"), marco = t.FieldIndex("MARCO"),
                      dia = t.FieldIndex("DIA"), coddiho = t.FieldIndex("CODDIHO"),
                      desde = t.FieldIndex("HORADESDE"), hasta = t.FieldIndex("HORAHASTA");
    for (t.First(); !t.Eof(); t.Next()) {
      const std::string slot_key = t.GetText(diho);
      const std::string frame = t.GetText(marco);
      std::string key = PairKey(slot_key, frame);
      if (lookups.slots.Find(key) != nullptr) continue;
      SlotRow row{t.GetText(dia), t.GetText(coddiho), {}, {}, {}};
      row.start_minutes = Minutes(t.GetText(desde), "HORADESDE", slot_key, frame, row.error);
      row.end_minutes = Minutes(t.GetText(hasta), "HORAHASTA", slot_key, frame, row.error);
      lookups.slots.Add(std::move(key), std::move(row));
    }
  }
  {
    worktables::Table& t = tables.groups;
    const std::size_t abrev = t.FieldIndex("ABREV"), clave = t.FieldIndex("CLAVE");
    for (t.First(); !t.Eof(); t.Next()) lookups.groups.Add(t.GetText(abrev), t.GetText(clave));
  }
  return lookups;
}

}  // namespace

ScheduleSummary AssembleSchedule(const ScheduleTables& tables, const PeriodDates& dates,
                                 OutputDocument& output) {
  const Lookups lookups = BuildLookups(tables);
  const SolutionRows solution = SolutionRows::Read(tables.solution);
  const std::string no_activity = "1";
  const std::string empty;
  const std::string empty_time = ClockToMinutes("");

  ScheduleSummary summary;
  std::unordered_set<std::string> teacher_codes;
  worktables::Table& teachers = tables.teachers;
  const std::size_t x_empleado = teachers.FieldIndex("X_EMPLEADO"),
                    f_tomapos = teachers.FieldIndex("F_TOMAPOS"),
                    abrev = teachers.FieldIndex("ABREV");
  for (teachers.First(); !teachers.Eof(); teachers.Next()) {
    const std::string code = teachers.GetText(abrev);
    solution.CheckReadable(code);
    const auto lessons = solution.LessonsOf(code);
    TeacherGroup& group = output.AddTeacher(lessons.size(), teachers.GetText(x_empleado),
                                            teachers.GetText(f_tomapos));
    ++summary.teachers;
    teacher_codes.insert(code);

    // A solver writes the sessions of one teaching load one after another: a lesson with
    // the subject and group of the lesson before takes that lesson's teaching load and
    // group again instead of looking them up (the same texts give the same rows).
    const SolutionRow* before = nullptr;
    const LoadKeys* load = nullptr;
    const std::string* group_key = nullptr;
    for (const SolutionRow& row : lessons) {
      const std::string& subject = solution.Text(row.subject);
      const std::string& group_code = solution.Text(row.group);
      const bool same_load =
          before != nullptr && before->subject == row.subject && before->group == row.group;
      before = &row;
      LessonFields fields;

      if (!same_load) load = lookups.loads.Find(PairKey(subject, group_code));
      if (load == nullptr) ++summary.without_load;
      fields.subject_key = load ? std::string_view(load->subject_key) : empty;
      fields.course_key = load ? std::string_view(load->course_key) : empty;

      // The solution's activity code; a blank one is the subject's own, and a lesson
      // without any is activity "1".
      const std::string* activity = &solution.Text(row.task);
      if (AllTrim(*activity).empty()) {
        if (const std::string* task = lookups.tasks.Find(subject)) activity = task;
      }
      fields.activity_code = AllTrim(*activity).empty() ? no_activity : *activity;

      const SlotRow* slot = lookups.slots.Find(
          PairKey(solution.Text(row.day) + std::to_string(row.hour), solution.Text(row.frame)));
      if (slot == nullptr) {
        ++summary.without_slot;
        fields.day = fields.slot_code = empty;
        fields.start_minutes = fields.end_minutes = empty_time;
      } else {
        if (!slot->error.empty()) throw RunError(slot->error);
        fields.day = slot->day;
        fields.slot_code = slot->slot_code;
        fields.start_minutes = slot->start_minutes;
        fields.end_minutes = slot->end_minutes;
      }

      const std::string& room = solution.Text(row.room);
      fields.room = AllTrim(room).empty() ? empty : room;

      if (!same_load) group_key = lookups.groups.Find(group_code);
      if (group_key == nullptr) ++summary.without_group;
      fields.group_key = group_key ? *group_key : empty;

      fields.start_date = dates.start;
      fields.end_date = dates.end;
      group.AddLesson(fields);
      ++summary.lessons;
    }
  }

  for (const std::string& code : solution.TeacherCodes()) {
    if (!teacher_codes.contains(code)) summary.unknown_teacher += solution.LessonsOf(code).size();
  }
  return summary;
}

}  // namespace tv
