#include "import_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "../exchange/tree_writer.h"
#include "exchange/block_reader.h"
#include "import/output_document.h"
#include "import/schedule_assembly.h"
#include "util/run_error.h"
#include "worktables/work_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace tv::testing {

namespace fs = std::filesystem;
using worktables::FieldDef;
using worktables::FieldType;

namespace {

FieldDef C(const char* name, int size) { return FieldDef{name, FieldType::kCharacter, size}; }
FieldDef N(const char* name) { return FieldDef{name, FieldType::kInteger, 0}; }
FieldDef L(const char* name) { return FieldDef{name, FieldType::kLogical, 0}; }

}  // namespace

void WriteTable(const fs::path& folder, const TableContents& contents) {
  worktables::WorkFolder work(folder);
  worktables::Table table = work.RecreateWorkTable(contents.name, contents.fields);
  table.Open(worktables::OpenMode::kExclusive);
  for (const auto& row : contents.rows) {
    table.Append();
    for (std::size_t i = 0; i < contents.fields.size() && i < row.size(); ++i) {
      const FieldDef& field = contents.fields[i];
      if (row[i].empty()) continue;
      switch (field.type) {
        case FieldType::kInteger:
          table.SetInt(field.name, ParseInteger(row[i]));
          break;
        case FieldType::kLogical:
          table.SetBool(field.name, row[i] == "T");
          break;
        case FieldType::kFloat:
          table.SetFloat(field.name, std::stod(row[i]));
          break;
        case FieldType::kCharacter:
          table.SetText(field.name, row[i]);
          break;
      }
    }
    table.Post();
  }
  table.Close();
}

TableContents Proft(std::vector<std::vector<std::string>> rows) {
  return {"PROFT",
          {C("ABREV", 10), C("NOMBRE", 80), C("X_EMPLEADO", 10), C("F_TOMAPOS", 10)},
          std::move(rows)};
}
TableContents Asigt(std::vector<std::vector<std::string>> rows) {
  return {"ASIGT",
          {C("CASIG", 10), C("CGRUP", 10), C("CLAVE", 10), C("CLAVECURSO", 10)},
          std::move(rows)};
}
TableContents Asignomt(std::vector<std::vector<std::string>> rows) {
  return {"ASIGNOMT",
          {C("COD", 10), C("NOMBRE", 80), C("CODTAREA", 12), L("ESTAREA")},
          std::move(rows)};
}
TableContents Diashorast(std::vector<std::vector<std::string>> rows) {
  return {"DIASHORAST",
          {C("DIHO", 10), C("CODDIHO", 10), C("DIA", 20), C("HORA", 8), C("HORADESDE", 8),
           C("HORAHASTA", 8), C("MARCO", 1), C("MARCOXML", 10)},
          std::move(rows)};
}
TableContents Grupost(std::vector<std::vector<std::string>> rows) {
  return {"GRUPOST", {C("ABREV", 10), C("CLAVE", 10)}, std::move(rows)};
}
TableContents Periodos(std::vector<std::vector<std::string>> rows) {
  return {"PERIODOS",
          {C("CJORNADA", 10), C("JORNADA", 40), C("FECINI", 10), C("FECFIN", 10)},
          std::move(rows)};
}
TableContents Soluc(std::vector<std::vector<std::string>> rows) {
  return {"SOLUC",
          {C("PROF", 10), N("DIA"), N("HORA"), C("MARCO", 1), C("ASIG", 10), C("CODGRUPO", 10),
           C("TAREA", 10), C("AULA", 10)},
          std::move(rows)};
}
TableContents Cursost() { return {"CURSOST", {C("ABREV", 10)}, {}}; }
TableContents Aulat() { return {"AULAT", {C("ABREV", 10)}, {{"A01"}}}; }

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("tv_import_" + std::to_string(stamp) + "_" + std::to_string(counter++));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

int ExitStatus(int status) {
#ifdef _WIN32
  return status;
#else
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace

int RunPython(const fs::path& folder, const std::string& script,
              const std::vector<std::string>& arguments) {
  const fs::path file = folder / "script.py";
  WriteFile(file, script);
  std::string command = "/usr/bin/python3 " + Quoted(file.string());
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  return ExitStatus(std::system(command.c_str()));
}

bool HavePython(const std::string& modules) {
  if (!fs::exists("/usr/bin/python3")) return false;
  const std::string command = "/usr/bin/python3 -c 'import " + modules + "' 2>/dev/null";
  return ExitStatus(std::system(command.c_str())) == 0;
}

void RecordingUi::CheckNotBusy() {
  EXPECT_FALSE(busy) << "a message was shown under the hourglass";
}

std::vector<TeacherOut> ReadSchedule(const xml::Document& document) {
  std::vector<TeacherOut> teachers;
  const auto blocks = document.Root().ChildElements("BLOQUE_DATOS");
  if (blocks.empty()) return teachers;
  for (const xml::Node& block : blocks.front().ChildElements("grupo_datos")) {
    if (block.Attribute("seq") != "HORARIOS_REGULARES") continue;
    for (const xml::Node& group : block.ChildElements("grupo_datos")) {
      TeacherOut teacher;
      teacher.seq = group.Attribute("seq");
      teacher.registros = group.Attribute("registros");
      for (const xml::Node& field : group.ChildElements("dato")) {
        if (field.Attribute("nombre_dato") == "X_EMPLEADO") teacher.employee = field.Text();
        if (field.Attribute("nombre_dato") == "F_TOMAPOS") teacher.post = field.Text();
      }
      for (const xml::Node& activity : group.ChildElements("grupo_datos")) {
        Lesson lesson;
        lesson.emplace_back("seq", activity.Attribute("seq"));
        for (const xml::Node& field : activity.ChildElements("dato")) {
          lesson.emplace_back(field.Attribute("nombre_dato"), field.Text());
        }
        teacher.lessons.push_back(std::move(lesson));
      }
      teachers.push_back(std::move(teacher));
    }
  }
  return teachers;
}

std::string Field(const Lesson& lesson, const std::string& name) {
  for (const auto& [key, value] : lesson) {
    if (key == name) return value;
  }
  return "<none>";
}

std::string OutputThroughTree(const fs::path& work, const fs::path& input,
                              const std::string& date_time) {
  xml::Document document = xml::Document::Load(input);
  const std::string year_code = YearCode(document).value();
  worktables::WorkFolder folder(work);
  std::vector<worktables::Table> tables;
  for (const char* name : {"SOLUC", "PROFT", "ASIGT", "ASIGNOMT", "DIASHORAST", "GRUPOST"}) {
    tables.push_back(folder.OpenWorkTable(name));
  }
  worktables::Table periods = folder.OpenWorkTable("PERIODOS");
  periods.First();
  const PeriodDates dates{periods.GetText("FECINI"), periods.GetText("FECFIN")};

  xml::TreeWriter tree(document);
  OutputDocument output(tree, year_code, date_time, tables[1].RecordCount());
  AssembleSchedule({tables[0], tables[1], tables[2], tables[3], tables[4], tables[5]}, dates,
                   output);
  output.Finish();
  return document.Serialize();
}

std::string DateOf(const fs::path& output) {
  return xml::Document::Load(output).Root().Attribute("fecha");
}

}  // namespace tv::testing
