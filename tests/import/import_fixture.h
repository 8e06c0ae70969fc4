// Small work folders and exchange files for the import tests, written with our own
// table engine in a fresh temporary folder, and a front end that records what it shows.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "exchange/xml_document.h"
#include "util/user_interface.h"
#include "worktables/table.h"

namespace tv::testing {

// A table to write: its fields and its rows, one text per field ("" leaves it empty;
// integer fields take decimal texts).
struct TableContents {
  std::string name;
  std::vector<worktables::FieldDef> fields;
  std::vector<std::vector<std::string>> rows;
};

void WriteTable(const std::filesystem::path& folder, const TableContents& contents);

// The schemas of the tables the import reads, in the order of their rows below:
// PROFT: ABREV, NOMBRE, X_EMPLEADO, F_TOMAPOS
// ASIGT: CASIG, CGRUP, CLAVE, CLAVECURSO
// ASIGNOMT: COD, NOMBRE, CODTAREA, ESTAREA ("T" or "F")
// DIASHORAST: DIHO, CODDIHO, DIA, HORA, HORADESDE, HORAHASTA, MARCO, MARCOXML
// GRUPOST: ABREV, CLAVE
// PERIODOS: CJORNADA, JORNADA, FECINI, FECFIN
// SOLUC: PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA, AULA
// CURSOST and AULAT: ABREV
TableContents Proft(std::vector<std::vector<std::string>> rows);
TableContents Asigt(std::vector<std::vector<std::string>> rows);
TableContents Asignomt(std::vector<std::vector<std::string>> rows);
TableContents Diashorast(std::vector<std::vector<std::string>> rows);
TableContents Grupost(std::vector<std::vector<std::string>> rows);
TableContents Periodos(std::vector<std::vector<std::string>> rows);
TableContents Soluc(std::vector<std::vector<std::string>> rows);
TableContents Cursost();
TableContents Aulat();

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& file);

// Answers the file dialog with a given file (or a cancel) and records every message.
class RecordingUi : public UserInterface {
 public:
  std::optional<std::filesystem::path> answer;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  int busy_calls = 0;
  bool busy = false;

  std::optional<std::filesystem::path> ChooseExchangeFile(const std::filesystem::path&) override {
    return answer;
  }
  void ShowMessage(const std::string& text) override {
    CheckNotBusy();
    messages.push_back(text);
  }
  void ShowError(const std::string& text) override {
    CheckNotBusy();
    errors.push_back(text);
  }
  FrameChoice ChooseFrames(const std::vector<TimeFrame>&) override { return {}; }
  void SetBusy(bool on) override {
    ++busy_calls;
    busy = on;
  }

 private:
  void CheckNotBusy();
};

// Runs a Python script with Debian's /usr/bin/python3 and the given arguments (quoted
// for the shell); returns its exit status. Has the script print why it fails.
int RunPython(const std::filesystem::path& folder, const std::string& script,
              const std::vector<std::string>& arguments);
// Whether /usr/bin/python3 can import the modules (e.g. "dbf, lxml").
bool HavePython(const std::string& modules);

// One activity group of the output: field name -> text, in document order.
using Lesson = std::vector<std::pair<std::string, std::string>>;
struct TeacherOut {
  std::string seq;
  std::string registros;
  std::string employee;
  std::string post;
  std::vector<Lesson> lessons;
};
// The teacher groups of an output document's schedule block.
std::vector<TeacherOut> ReadSchedule(const xml::Document& document);
// The value of a named field of a lesson ("<none>" when it is missing).
std::string Field(const Lesson& lesson, const std::string& name);

// The bytes of an import's output as the document's own tree and serializer write them:
// the input loaded, its root replaced by the elements the import writes from the tables
// of `work` (with `date_time` as the root's date), then saved. The output file of an
// import of `input` must hold exactly these bytes.
std::string OutputThroughTree(const std::filesystem::path& work, const std::filesystem::path& input,
                              const std::string& date_time);

// An import's output file with its root's date (which changes from run to run) taken out.
std::string DateOf(const std::filesystem::path& output);

}  // namespace tv::testing
