// The export run: its checks and messages, the frame choice's ends, and a work folder
// that is replaced only by a finished run and left byte for byte as it was otherwise.
#include "export/export_run.h"

#include <algorithm>
#include <fstream>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "export_fixture.h"
#include "util/env.h"
#include "worktables/backup_sets.h"
#include "worktables/table.h"

namespace tv::testing_export {
namespace {

namespace fs = std::filesystem;

const std::vector<Block> kSmallSchool = {
    {"MATERIAS", {{"6001", "120001", "Lengua"}, {"6001", "120002", "Matemáticas"}}},
    {"ACTIVIDADES", {{"T", "GUAR", "Guardia"}}},
    {"EMPLEADOS", {{"1", "01/09/2008", "Lengua", "García", "Martín", "José"}}},
    {"DEPENDENCIAS", {{"A01", "Aula 1"}}},
    {"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}}},
    {"UNIDADES", {{"9101", "1º ESO A", "6001"}, {"9102", "1º ESO B", "6001"}}},
    OneFrame(),
    OneSlot(),
};

void Touch(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

TEST_F(ExportTest, AFinishedRunReportsItsRowsAndReplacesTheWorkTables) {
  // What an earlier export and older versions left: index files and the frame table go.
  Touch(folders_.work_folder / "ASIGNOMT.MDX", "old index");
  Touch(folders_.work_folder / "jornadas.dbf", "old frames");
  Touch(folders_.work_folder / "SOLUC.DBF", "Velorim's own");
  const RunReport first = Export(kSmallSchool);
  ASSERT_EQ(first.outcome, RunOutcome::kFinished);
  EXPECT_EQ(ui_.messages, (std::vector<std::string>{"Proceso finalizado"}));
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(ui_.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(first.counts, (std::vector<std::pair<std::string, std::size_t>>{
                              {"ASIGNOMT", 3},
                              {"PROFT", 1},
                              {"AULAT", 1},
                              {"CURSOST", 1},
                              {"GRUPOST", 2},
                              {"ASIGT", 4},
                              {"DIASHORAST", 7},
                              {"DIASHORAST2", 0},
                              {"PERIODOS", 1},
                          }));
  // The files that went are kept in a backup set, apart from the tables.
  std::vector<std::string> files;
  std::map<std::string, std::string> kept;
  const std::string backups = std::string(worktables::kBackupFolderName) + "/";
  for (const auto& [name, bytes] : Snapshot(folders_.work_folder)) {
    if (name.rfind(backups, 0) != 0) {
      files.push_back(name);
    } else if (name.back() != '/' && !name.ends_with(worktables::kSetDescriptionName)) {
      kept[name.substr(name.rfind('/') + 1)] = bytes;
    }
  }
  EXPECT_EQ(files,
            (std::vector<std::string>{"ASIGNOMT.DBF", "ASIGT.DBF", "AULAT.DBF", "CURSOST.DBF",
                                      "DIASHORAST.DBF", "DIASHORAST2.DBF", "DIASHORAST2.MDX",
                                      "GRUPOST.DBF", "PERIODOS.DBF", "PROFT.DBF", "SOLUC.DBF"}));
  EXPECT_EQ(kept, (std::map<std::string, std::string>{{"ASIGNOMT.MDX", "old index"},
                                                      {"jornadas.dbf", "old frames"}}));
  EXPECT_EQ(Snapshot(folders_.work_folder)["SOLUC.DBF"], "Velorim's own");
}

TEST_F(ExportTest, ATableKeepsTheSpellingOfTheFileItReplaces) {
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  fs::rename(folders_.work_folder / "PROFT.DBF", folders_.work_folder / "proft.dbf");
  if (fs::exists(folders_.work_folder / "PROFT.DBF")) {
    GTEST_SKIP() << "the file system ignores letter case: one file, whatever its spelling";
  }
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folders_.work_folder)) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_NE(std::find(names.begin(), names.end(), "proft.dbf"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "PROFT.DBF"), names.end());
}

TEST_F(ExportTest, NoFileChosenOrTheFileGoneSaysNoExisteArchivo) {
  ui_.file.reset();
  EXPECT_EQ(RunExport(folders_, ui_, selected_).outcome, RunOutcome::kNoFile);
  ui_.file = root_ / "missing.xml";
  EXPECT_EQ(RunExport(folders_, ui_, selected_).outcome, RunOutcome::kNoFile);
  EXPECT_EQ(selected_, root_ / "missing.xml");
  // Both missing: only the file is reported.
  fs::remove(folders_.program_folder / "NIVELEX.DBF");
  EXPECT_EQ(RunExport(folders_, ui_, selected_).outcome, RunOutcome::kNoFile);
  EXPECT_EQ(ui_.messages, (std::vector<std::string>(3, "No existe archivo")));
}

TEST_F(ExportTest, AMissingLevelTableRefusesTheRunAndACancelledDialogKeepsTheFile) {
  fs::remove(folders_.program_folder / "NIVELEX.DBF");
  EXPECT_EQ(Export(kSmallSchool).outcome, RunOutcome::kRefused);
  EXPECT_EQ(ui_.messages,
            (std::vector<std::string>{
                "ATENCI\xD3N - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA"}));
  EXPECT_TRUE(Snapshot(folders_.work_folder).empty());
  // The level table back, under another spelling; the dialog cancelled: the same file.
  WriteLevelTable({{6001, "ESO", "Secundaria"}});
  fs::rename(folders_.program_folder / "NIVELEX.DBF", folders_.program_folder / "nivelex.dbf");
  ui_.file.reset();
  EXPECT_EQ(RunExport(folders_, ui_, selected_).outcome, RunOutcome::kFinished);
}

struct FailingCase {
  const char* title;
  std::string xml;
  std::string error_start;  // the start of the message shown (empty: a message, no error)
};

TEST_F(ExportTest, AFailingRunLeavesTheWorkFolderByteForByte) {
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  Touch(folders_.work_folder / "ASIGT.MDX", "an index Velorim made");
  const auto before = Snapshot(folders_.work_folder);

  std::vector<Block> bad_course = kSmallSchool;
  bad_course[4].records.push_back({"12a", "Malo"});
  std::vector<Block> no_frames(kSmallSchool.begin(), kSmallSchool.end() - 2);
  std::vector<Block> two_frames = kSmallSchool;
  two_frames[6].records.push_back({"2", "Tarde", "", ""});
  const FailingCase cases[] = {
      {"course key 12a", ExchangeXml(bad_course), "'12a' no es un valor entero v\xE1lido"},
      {"malformed", "<SERVICIO><BLOQUE_DATOS></SERVICIO>", ""},
      {"no frames", ExchangeXml(no_frames), "El archivo no tiene ning\xFAn Marco Horario"},
      {"frame choice cancelled", ExchangeXml(two_frames), ""},
  };
  for (const FailingCase& c : cases) {
    ui_.errors.clear();
    ui_.messages.clear();
    const RunReport report = Export(c.xml);
    EXPECT_NE(report.outcome, RunOutcome::kFinished) << c.title;
    EXPECT_EQ(Snapshot(folders_.work_folder), before) << c.title;
    EXPECT_EQ(ui_.errors.size() + ui_.messages.size(), 1u) << c.title;
    if (!c.error_start.empty() && !ui_.errors.empty()) {
      EXPECT_EQ(ui_.errors[0].substr(0, c.error_start.size()), c.error_start) << c.title;
    }
  }
}

// What is not a file, and values that are no numbers, are refused with a message that
// says what they are and quotes the value as the file has it; the work folder is left
// byte for byte.
TEST_F(ExportTest, HostileInputIsAnsweredPlainlyAndChangesNothing) {
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  const fs::path xml = root_ / "centro.xml";
  const auto slot_starting = [](const std::string& start) {
    std::vector<Block> blocks = kSmallSchool;
    blocks.back().records[0][2] = start;
    return ExchangeXml(blocks);
  };
  const struct {
    std::string what;
    fs::path file;                // the exchange file chosen
    std::string xml;              // written to centro.xml first
    std::function<void()> spoil;  // then this is done
    std::string message_start;
  } cases[] = {
      {"the file is a folder", root_ / "carpeta.xml", "",
       [&] { fs::create_directory(root_ / "carpeta.xml"); },
       "No se puede leer " + env::PathText(root_ / "carpeta.xml") +
           ": es una carpeta, no un archivo."},
#ifndef _WIN32
      // Opening a named pipe to read it would wait for a writer that never comes.
      {"the file is a named pipe", root_ / "tuberia.xml", "",
       [&] { ASSERT_EQ(mkfifo((root_ / "tuberia.xml").c_str(), 0600), 0); },
       "No se puede leer " + env::PathText(root_ / "tuberia.xml") +
           ": es una tuber\xED"
           "a con nombre (FIFO), no un archivo."},
      {"the file is a device that never ends", "/dev/zero", "", [] {},
       "No se puede leer /dev/zero: es un dispositivo, no un archivo."},
#endif
      {"a folder where a table goes", xml, ExchangeXml(kSmallSchool),
       [&] {
         fs::remove(folders_.work_folder / "ASIGT.DBF");
         fs::create_directory(folders_.work_folder / "ASIGT.DBF");
       },
       "No se puede reemplazar " + env::PathText(folders_.work_folder / "ASIGT.DBF") +
           ": es una carpeta, no un archivo."},
      {"a slot start that is no number", xml, slot_starting("abc"), [] {},
       "'abc' no es un valor entero v\xE1lido (bloque TRAMOS_HORARIOS, registro 1)"},
      {"a slot start in exponent notation", xml, slot_starting("1e9"), [] {},
       "'1e9' no es un valor entero v\xE1lido"},
  };
  for (const auto& c : cases) {
    std::ofstream(xml, std::ios::binary) << c.xml;
    c.spoil();
    const auto before = Snapshot(folders_.work_folder);
    ui_.file = c.file;
    ui_.errors.clear();
    ui_.messages.clear();
    EXPECT_EQ(RunExport(folders_, ui_, selected_).outcome, RunOutcome::kFailed) << c.what;
    ASSERT_EQ(ui_.errors.size(), 1u) << c.what;
    EXPECT_EQ(ui_.errors[0].substr(0, c.message_start.size()), c.message_start)
        << c.what << ": " << ui_.errors[0];
    EXPECT_EQ(Snapshot(folders_.work_folder), before) << c.what;
  }
}

TEST_F(ExportTest, MalformedFileShowsTheReadersErrorAndCancelledChoiceAMessage) {
  EXPECT_EQ(Export("<SERVICIO><BLOQUE_DATOS></SERVICIO>").outcome, RunOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("centro.xml"), std::string::npos) << ui_.errors[0];

  std::vector<Block> two_frames = kSmallSchool;
  two_frames[6].records.push_back({"2", "Tarde", "", ""});
  ui_.errors.clear();
  EXPECT_EQ(Export(two_frames).outcome, RunOutcome::kRefused);
  EXPECT_TRUE(ui_.errors.empty());
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find("cancelada"), std::string::npos);
}

TEST_F(ExportTest, ATableHeldByAnotherProgramStopsTheRunBeforeAnythingChanges) {
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  const auto before = Snapshot(folders_.work_folder);
  {
    worktables::Table held(folders_.work_folder, "ASIGT");
    held.Open(worktables::OpenMode::kExclusive);
    ui_.errors.clear();
    EXPECT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFailed);
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_NE(ui_.errors[0].find("ASIGT.DBF"), std::string::npos) << ui_.errors[0];
  }
  // Compared once the table is let go: on Windows nobody may read a file held exclusively.
  EXPECT_EQ(Snapshot(folders_.work_folder), before);
  EXPECT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
}

TEST_F(ExportTest, WhatAnInterruptedRunLeftAsideIsClearedAway) {
  fs::create_directories(folders_.work_folder / ".transvelor-export" / "anteriores");
  Touch(folders_.work_folder / ".transvelor-export" / "PROFT.DBF", "half written");
  ASSERT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFinished);
  EXPECT_FALSE(fs::exists(folders_.work_folder / ".transvelor-export"));
  EXPECT_EQ(ReadRows("PROFT", {"ABREV"}), (std::vector<std::vector<std::string>>{{"GMJ"}}));
}

TEST_F(ExportTest, AMissingWorkFolderIsReported) {
  folders_.work_folder = root_ / "no-such-folder";
  EXPECT_EQ(Export(kSmallSchool).outcome, RunOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find("no-such-folder"), std::string::npos);
  EXPECT_FALSE(fs::exists(folders_.work_folder));
}

}  // namespace
}  // namespace tv::testing_export
