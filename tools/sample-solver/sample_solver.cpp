#include "sample_solver.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "soluc_writer.h"
#include "util/run_error.h"
#include "worktables/table.h"
#include "worktables/work_folder.h"

namespace tv::sample {
namespace {

using worktables::Table;

struct Slot {
  int day;
  int hour;
};

struct Frame {
  std::string number;  // MARCO
  std::vector<Slot> slots;
};

struct Load {
  std::string subject;  // CASIG
  std::string group;    // CGRUP
  int sessions;
};

struct Activity {
  std::string code;  // COD
  std::string task;  // CODTAREA
};

struct Row {
  std::size_t teacher;
  Slot slot;
  std::string frame;
  std::string subject;
  std::string group;
  std::string task;
  std::string room;
};

std::vector<std::string> Column(Table& table, const char* field) {
  std::vector<std::string> values;
  const std::size_t index = table.FieldIndex(field);
  for (table.First(); !table.Eof(); table.Next()) values.push_back(table.GetText(index));
  return values;
}

int SessionCount(const std::string& sessions) {
  const auto ones = std::count(sessions.begin(), sessions.end(), '1');
  return ones > 0 ? static_cast<int>(ones) : 4;
}

// Who is busy when: one bit per slot of a frame for each teacher and each group.
class Occupancy {
 public:
  explicit Occupancy(std::size_t slot_count) : slot_count_(slot_count) {}
  bool IsFree(std::size_t who, std::size_t slot) const {
    const auto found = busy_.find(who);
    return found == busy_.end() || !found->second[slot];
  }
  void Take(std::size_t who, std::size_t slot) {
    auto& bits = busy_[who];
    if (bits.empty()) bits.assign(slot_count_, false);
    bits[slot] = true;
  }

 private:
  std::size_t slot_count_;
  std::unordered_map<std::size_t, std::vector<bool>> busy_;
};

}  // namespace

SolverSummary SolveSample(const std::filesystem::path& work_folder, unsigned variant) {
  worktables::WorkFolder folder(work_folder);
  std::vector<std::string> teachers, rooms, group_codes, group_frames;
  std::vector<Load> loads;
  std::vector<Activity> activities;
  std::map<std::string, Frame> frames;
  {
    Table table = folder.OpenWorkTable("PROFT");
    teachers = Column(table, "ABREV");
  }
  {
    Table table = folder.OpenWorkTable("AULAT");
    rooms = Column(table, "ABREV");
  }
  {
    Table table = folder.OpenWorkTable("GRUPOST");
    group_codes = Column(table, "ABREV");
    group_frames = Column(table, "MARCO");
  }
  {
    Table table = folder.OpenWorkTable("DIASHORAST");
    const std::size_t dia = table.FieldIndex("DIA"), hora = table.FieldIndex("HORA"),
                      marco = table.FieldIndex("MARCO");
    for (table.First(); !table.Eof(); table.Next()) {
      const int day = ParseInteger(table.GetText(dia));
      // A school week: the slots of Monday to Friday.
      if (day < 1 || day > 5) continue;
      Frame& frame = frames[table.GetText(marco)];
      frame.number = table.GetText(marco);
      frame.slots.push_back({day, ParseInteger(table.GetText(hora))});
    }
  }
  {
    Table table = folder.OpenWorkTable("ASIGT");
    const std::size_t casig = table.FieldIndex("CASIG"), cgrup = table.FieldIndex("CGRUP"),
                      sesiones = table.FieldIndex("SESIONES");
    for (table.First(); !table.Eof(); table.Next()) {
      loads.push_back(
          {table.GetText(casig), table.GetText(cgrup), SessionCount(table.GetText(sesiones))});
    }
  }
  {
    Table table = folder.OpenWorkTable("ASIGNOMT");
    const std::size_t cod = table.FieldIndex("COD"), codtarea = table.FieldIndex("CODTAREA"),
                      estarea = table.FieldIndex("ESTAREA");
    for (table.First(); !table.Eof(); table.Next()) {
      if (table.GetText(estarea) == "T") {
        activities.push_back({table.GetText(cod), table.GetText(codtarea)});
      }
    }
  }
  if (teachers.empty()) throw RunError("sample-solver: PROFT no tiene profesores");

  // The frame of each group.
  std::vector<std::string> frame_numbers;
  for (const auto& [number, frame] : frames) frame_numbers.push_back(number);
  std::unordered_map<std::string, std::string> frame_of_group;
  for (std::size_t g = 0; g < group_codes.size(); ++g) {
    std::string number = group_frames[g];
    if (frame_numbers.size() == 2 && g % 2 == 1) {
      number = number == frame_numbers[0] ? frame_numbers[1] : frame_numbers[0];
    }
    frame_of_group.try_emplace(group_codes[g], number);
  }
  std::unordered_map<std::string, std::size_t> group_index;
  for (std::size_t g = 0; g < group_codes.size(); ++g) group_index.try_emplace(group_codes[g], g);

  std::mt19937 random(variant);
  const std::size_t first_teacher = random() % teachers.size();
  std::map<std::string, Occupancy> teacher_busy, group_busy;
  for (const auto& [number, frame] : frames) {
    teacher_busy.emplace(number, Occupancy(frame.slots.size()));
    group_busy.emplace(number, Occupancy(frame.slots.size()));
  }

  SolverSummary summary;
  std::vector<Row> rows;
  std::size_t next_room = 0;
  auto room = [&]() -> std::string {
    if (rooms.empty() || random() % 20 == 0) return {};
    return rooms[next_room++ % rooms.size()];
  };

  // Places one session: a free slot on a day the load does not use yet, else any free
  // slot, else any slot at all (a clash). Returns the slot index or nothing.
  auto place = [&](const Frame& frame, std::size_t teacher, std::size_t group, bool has_group,
                   std::vector<int>& days) -> std::ptrdiff_t {
    const std::size_t n = frame.slots.size();
    if (n == 0) return -1;
    Occupancy& teachers_busy = teacher_busy.at(frame.number);
    Occupancy& groups_busy = group_busy.at(frame.number);
    const std::size_t start = random() % n;
    for (int pass = 0; pass < 3; ++pass) {
      for (std::size_t k = 0; k < n; ++k) {
        const std::size_t s = (start + k) % n;
        const bool free =
            teachers_busy.IsFree(teacher, s) && (!has_group || groups_busy.IsFree(group, s));
        const bool new_day = std::find(days.begin(), days.end(), frame.slots[s].day) == days.end();
        if ((pass == 0 && free && new_day) || (pass == 1 && free) || pass == 2) {
          if (!free) ++summary.clashes;
          teachers_busy.Take(teacher, s);
          if (has_group) groups_busy.Take(group, s);
          days.push_back(frame.slots[s].day);
          return static_cast<std::ptrdiff_t>(s);
        }
      }
    }
    return -1;
  };

  for (std::size_t l = 0; l < loads.size(); ++l) {
    const Load& load = loads[l];
    const std::size_t teacher = (first_teacher + l) % teachers.size();
    const auto frame_found = frame_of_group.find(load.group);
    const auto frame_it =
        frames.find(frame_found == frame_of_group.end() ? std::string() : frame_found->second);
    const auto group_found = group_index.find(load.group);
    const std::size_t group = group_found == group_index.end() ? 0 : group_found->second;
    std::vector<int> days;
    for (int session = 0; session < load.sessions; ++session) {
      Row row{teacher, {0, 0}, {}, load.subject, load.group, {}, room()};
      // Now and then Velorim leaves a session unplaced.
      const bool leave_out = session == load.sessions - 1 && random() % 50 == 0;
      if (!leave_out && frame_it != frames.end()) {
        const auto s =
            place(frame_it->second, teacher, group, group_found != group_index.end(), days);
        if (s >= 0) {
          row.slot = frame_it->second.slots[static_cast<std::size_t>(s)];
          row.frame = frame_it->first;
        }
      }
      rows.push_back(std::move(row));
    }
  }

  // Activity rows: every third teacher takes one activity, in turn, in the first frame.
  if (!activities.empty() && !frames.empty()) {
    const Frame& frame = frames.begin()->second;
    for (std::size_t t = 0; t < teachers.size(); t += 3) {
      const Activity& activity = activities[(t / 3) % activities.size()];
      std::vector<int> days;
      const auto s = place(frame, t, 0, false, days);
      Row row{t, {0, 0}, {}, activity.code, {}, (t / 3) % 2 == 0 ? activity.task : "", room()};
      if (s >= 0) {
        row.slot = frame.slots[static_cast<std::size_t>(s)];
        row.frame = frame.number;
      }
      rows.push_back(std::move(row));
      ++summary.activities;
    }
  }

  std::vector<SolucRow> soluc;
  soluc.reserve(rows.size());
  for (const Row& row : rows) {
    soluc.push_back({teachers[row.teacher], row.slot.day, row.slot.hour, row.frame, row.subject,
                     row.group, row.task, row.room});
    ++summary.rows;
    if (row.slot.day == 0) {
      ++summary.unplaced;
    } else {
      ++summary.lessons;
    }
  }
  WriteSoluc(work_folder, soluc);
  return summary;
}

}  // namespace tv::sample
