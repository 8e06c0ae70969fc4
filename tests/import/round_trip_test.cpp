// The whole round trip on the sample school: export with both frames, the stand-in
// solver, import. Every lesson must come back with keys that the input file itself holds
// and that belong together there; nothing is checked against our own work tables.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "export/export_run.h"
#include "import/import_run.h"
#include "import_fixture.h"
#include "sample_solver.h"
#include "util/text.h"

namespace tv::testing {
namespace {

namespace fs = std::filesystem;

// What the input file says, read straight from its blocks.
struct School {
  std::set<std::pair<std::string, std::string>> teachers;  // X_EMPLEADO, F_TOMAPOS
  std::map<std::string, std::string> course_of_group;      // group key -> course key
  std::set<std::pair<std::string, std::string>> subjects;  // course key, subject key
  std::set<std::string> activities;                        // activity codes
  std::set<std::string> rooms;                             // room keys or names
  struct Slot {
    std::string start, end, frame;
  };
  std::map<std::string, Slot> slots;  // slot code -> times, frame
  std::vector<std::string> frames;    // frame codes
  std::map<std::string, std::pair<std::string, std::string>> frame_dates;
};

School ReadSchool(const fs::path& file) {
  const xml::Document document = xml::Document::Load(file);
  School school;
  auto each = [&](const char* block, auto&& use) {
    for (const xml::Node& record : SelectBlockRecords(document, block)) {
      const RecordFieldList fields = RecordFields(record);
      if (fields.size() <= 1) continue;
      use([&](std::size_t position) { return AllTrim(FieldText(fields, position)); });
    }
  };
  each("EMPLEADOS", [&](auto field) { school.teachers.emplace(field(0), field(1)); });
  each("UNIDADES", [&](auto field) { school.course_of_group[field(0)] = field(2); });
  each("MATERIAS", [&](auto field) { school.subjects.emplace(field(0), field(1)); });
  each("ACTIVIDADES", [&](auto field) { school.activities.insert(field(1)); });
  // A room without a key goes by the start of its name.
  each("DEPENDENCIAS", [&](auto field) {
    school.rooms.insert(field(0).empty() ? LeftPart(field(1), 6) : field(0));
  });
  each("TRAMOS_HORARIOS", [&](auto field) {
    school.slots[field(0)] = {field(2), field(3), field(4)};
  });
  each("JORNADAS_ESCOLARES", [&](auto field) {
    school.frames.push_back(field(0));
    school.frame_dates[field(0)] = {field(2), field(3)};
  });
  return school;
}

// The room code of a lesson is the solution's: a room's key (or the start of its name),
// numbered when two rooms would get the same code.
bool IsRoomCode(const School& school, const std::string& code) {
  for (const std::string& base : school.rooms) {
    if (code.rfind(base, 0) != 0) continue;
    const std::string number = code.substr(base.size());
    if (number.find_first_not_of("0123456789") == std::string::npos) return true;
  }
  return false;
}

// Chooses the first two frames in the dialog; the file comes from the test.
class RoundTripUi : public RecordingUi {
 public:
  std::vector<std::string> frames;
  FrameChoice ChooseFrames(const std::vector<TimeFrame>&) override {
    return {FrameChoice::Kind::kAccepted, frames};
  }
};

TEST(RoundTrip, EveryLessonComesBackWithTheKeysOfTheInputFile) {
  const fs::path example = fs::path(TV_SOURCE_DIR) / "examples" / "centro.xml";
  const School school = ReadSchool(example);
  ASSERT_GE(school.frames.size(), 2u);

  TempFolder temp;
  const fs::path input = temp.Path() / "centro.xml";
  fs::copy_file(example, input);
  const fs::path work = temp.Path() / "QTEMP";
  fs::create_directories(work);
  const RunFolders folders{work, fs::path(TV_BINARY_DIR) / "bin"};  // NIVELEX.DBF

  RoundTripUi ui;
  ui.answer = input;
  ui.frames = {school.frames[0], school.frames[1]};
  fs::path selected;
  ASSERT_EQ(RunExport(folders, ui, selected).outcome, RunOutcome::kFinished)
      << (ui.errors.empty() ? "" : ui.errors[0]);
  // The stand-in solver gives the same solution for the same variant number.
  sample::SolveSample(work, 7);
  const std::string first_solution = ReadFile(work / "SOLUC.DBF");
  const sample::SolverSummary solution = sample::SolveSample(work, 7);
  EXPECT_EQ(ReadFile(work / "SOLUC.DBF"), first_solution);
  ASSERT_GT(solution.lessons, 100u);
  ASSERT_GT(solution.unplaced, 0u);
  const RunReport report = RunImport(folders, ui, selected);
  ASSERT_EQ(report.outcome, RunOutcome::kFinished) << (ui.errors.empty() ? "" : ui.errors[0]);
  // The file written as a stream holds what the document's tree would have saved.
  EXPECT_TRUE(ReadFile(report.output_file) ==
              OutputThroughTree(work, input, DateOf(report.output_file)));

  const auto teachers = ReadSchedule(xml::Document::Load(report.output_file));
  ASSERT_EQ(teachers.size(), school.teachers.size());
  std::size_t lessons = 0, activity_lessons = 0;
  std::set<std::string> frames_used;
  for (const TeacherOut& teacher : teachers) {
    EXPECT_TRUE(school.teachers.contains({teacher.employee, teacher.post}))
        << teacher.employee << " " << teacher.post;
    for (const Lesson& lesson : teacher.lessons) {
      ++lessons;
      const std::string where = teacher.employee + " " + Field(lesson, "seq");
      const std::string slot_code = Field(lesson, "X_TRAMO");
      ASSERT_TRUE(school.slots.contains(slot_code)) << where << ": slot " << slot_code;
      const School::Slot& slot = school.slots.at(slot_code);
      frames_used.insert(slot.frame);
      EXPECT_EQ(Field(lesson, "N_HORINI"), slot.start) << where;
      EXPECT_EQ(Field(lesson, "N_HORFIN"), slot.end) << where;
      const std::string day = Field(lesson, "N_DIASEMANA");
      EXPECT_TRUE(day >= "1" && day <= "5" && day.size() == 1) << where << ": day " << day;
      // The period dates are those of the first chosen frame.
      EXPECT_EQ(Field(lesson, "F_INICIO"), school.frame_dates.at(school.frames[0]).first);
      EXPECT_EQ(Field(lesson, "F_FIN"), school.frame_dates.at(school.frames[0]).second);
      const std::string room = Field(lesson, "X_DEPENDENCIA");
      EXPECT_TRUE(room.empty() || IsRoomCode(school, room)) << where << ": room " << room;

      const std::string group = Field(lesson, "X_UNIDAD");
      if (group.empty()) {
        // A non-teaching activity: its code is one of the file's activities.
        ++activity_lessons;
        EXPECT_TRUE(school.activities.contains(Field(lesson, "X_ACTIVIDAD")))
            << where << ": activity " << Field(lesson, "X_ACTIVIDAD");
        EXPECT_EQ(Field(lesson, "X_MATERIAOMG"), "") << where;
        continue;
      }
      // A lesson of a subject to a group: the group's course offers the subject.
      ASSERT_TRUE(school.course_of_group.contains(group)) << where << ": group " << group;
      const std::string course = Field(lesson, "X_OFERTAMATRIG");
      EXPECT_EQ(course, school.course_of_group.at(group)) << where;
      EXPECT_TRUE(school.subjects.contains({course, Field(lesson, "X_MATERIAOMG")}))
          << where << ": subject " << Field(lesson, "X_MATERIAOMG") << " of course " << course;
      EXPECT_EQ(Field(lesson, "X_ACTIVIDAD"), "1") << where;
    }
  }
  // Every placed row of the solution came back, and the frame number told the two
  // frames' slots apart.
  EXPECT_EQ(lessons, solution.lessons);
  EXPECT_EQ(activity_lessons, solution.activities);
  EXPECT_EQ(frames_used, (std::set<std::string>{school.frames[0], school.frames[1]}));
}

}  // namespace
}  // namespace tv::testing
