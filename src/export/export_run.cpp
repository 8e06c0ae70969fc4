#include "export/export_run.h"

#include <exception>
#include <new>

#include "exchange/xml_document.h"
#include "export/changes_since_last_export.h"
#include "export/course_and_group_tables.h"
#include "export/export_context.h"
#include "export/level_table.h"
#include "export/room_table.h"
#include "export/staging_folder.h"
#include "export/subject_table.h"
#include "export/teacher_table.h"
#include "export/teaching_load_table.h"
#include "export/time_slot_tables.h"
#include "util/env.h"
#include "util/run_error.h"
#include "worktables/work_folder.h"

namespace tv {

namespace fs = std::filesystem;

namespace {

// Files of the work folder that a finished export leaves out: the index files of the
// tables it recreates without an index, and the frame table of older versions.
const std::vector<std::string> kObsoleteFiles = {
    "ASIGNOMT.MDX", "PROFT.MDX", "AULAT.MDX",      "CURSOST.MDX",
    "GRUPOST.MDX",  "ASIGT.MDX", "DIASHORAST.MDX", "JORNADAS.DBF",
};

// The hourglass for as long as it lives.
class BusyCursor {
 public:
  explicit BusyCursor(UserInterface& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyCursor() { ui_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UserInterface& ui_;
};

enum class Mode { kReplace, kDryRun };

// Builds the tables aside, compares them with the tables they replace and moves them in
// (a dry run leaves them aside, where they go with the staging folder). What the steps
// decided goes into `report` also when a later step fails; the rows per table only once
// the tables are complete.
void BuildAndCommit(const RunFolders& folders, UserInterface& ui, const fs::path& file, Mode mode,
                    RunReport& report) {
  const xml::Document document = xml::Document::Load(file);
  BusyCursor busy(ui);
  StagingFolder staging(folders.work_folder);
  worktables::WorkFolder tables(staging.Path());
  ExportContext context(document, tables, folders.program_folder, file, ui);
  struct HandOver {
    ExportContext& context;
    RunReport& report;
    ~HandOver() { report.entries = std::move(context.entries); }
  } hand_over{context, report};
  BuildSubjectTable(context);
  AddActivities(context);
  BuildTeacherTable(context);
  BuildRoomTable(context);
  BuildCourseAndGroupTables(context);
  BuildTeachingLoadTable(context);
  BuildTimeSlotTables(context);
  for (ReportEntry& entry : CompareWithLastExport(folders.work_folder, staging.Path())) {
    context.entries.push_back(std::move(entry));
  }
  if (mode == Mode::kReplace) {
    worktables::SetDescription backup;
    backup.made = env::LocalDateTimeText();
    backup.run = "exportaci\xF3n";
    backup.read = env::PathText(file);
    staging.Commit(kObsoleteFiles, std::move(backup));
  }
  report.counts = std::move(context.counts);
}

RunReport Run(const RunFolders& folders, UserInterface& ui, fs::path& selected_file, Mode mode) {
  RunReport report;
  if (auto chosen = ui.ChooseExchangeFile(selected_file)) selected_file = std::move(*chosen);
  // Something that is there but is no file (a folder, a pipe) is refused when it is read,
  // with a message that says what it is.
  if (selected_file.empty() || env::KindOfFile(selected_file) == env::FileKind::kMissing) {
    ui.ShowMessage("No existe archivo");
    report.outcome = RunOutcome::kNoFile;
    return report;
  }
  if (!LevelTable::Find(folders.program_folder)) {
    ui.ShowMessage("ATENCI\xD3N - NIVELEX.DBF No encontrado - Reinstale TRANSVELORORTELIA");
    report.outcome = RunOutcome::kRefused;
    return report;
  }
  try {
    BuildAndCommit(folders, ui, selected_file, mode, report);
  } catch (const FrameChoiceCancelled& cancelled) {
    ui.ShowMessage(cancelled.message());
    report.outcome = RunOutcome::kRefused;
    return report;
  } catch (const RunError& error) {
    ui.ShowError(error.message());
    report.outcome = RunOutcome::kFailed;
    return report;
  } catch (const std::bad_alloc&) {
    ui.ShowError("No hay memoria suficiente para exportar " + env::PathText(selected_file) + ".");
    report.outcome = RunOutcome::kFailed;
    return report;
  } catch (const std::exception& error) {
    // A failure outside our own checks (file system): shown as it comes.
    ui.ShowError(error.what());
    report.outcome = RunOutcome::kFailed;
    return report;
  }
  report.outcome = RunOutcome::kFinished;
  ui.ShowMessage(mode == Mode::kReplace
                     ? "Proceso finalizado"
                     : "Prueba finalizada: la carpeta de trabajo no ha cambiado");
  return report;
}

}  // namespace

RunReport RunExport(const RunFolders& folders, UserInterface& ui, fs::path& selected_file) {
  return Run(folders, ui, selected_file, Mode::kReplace);
}

RunReport RunExportDryRun(const RunFolders& folders, UserInterface& ui, fs::path& selected_file) {
  return Run(folders, ui, selected_file, Mode::kDryRun);
}

}  // namespace tv
