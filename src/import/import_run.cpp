#include "import/import_run.h"

#include <exception>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "exchange/xml_stream_writer.h"
#include "import/output_document.h"
#include "import/schedule_assembly.h"
#include "import/solution_table.h"
#include "util/env.h"
#include "util/replacement_file.h"
#include "util/run_error.h"
#include "util/text.h"
#include "worktables/folder_commit.h"
#include "worktables/table.h"
#include "worktables/work_folder.h"

namespace tv {
namespace {

namespace fs = std::filesystem;
using worktables::OpenMode;
using worktables::Table;
using worktables::WorkFolder;

// The tables the import holds for exclusive use, in the order they are opened.
enum TableSlot { kSoluc, kGrupos, kCursos, kProf, kAulas, kNomAsg, kTramos, kAsig };
const char* const kImportTables[] = {"SOLUC", "GRUPOST",  "CURSOST",    "PROFT",
                                     "AULAT", "ASIGNOMT", "DIASHORAST", "ASIGT"};

// The hourglass from the start of the work until a message is shown, whatever ends it.
class BusyPointer {
 public:
  explicit BusyPointer(UserInterface& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyPointer() { Stop(); }
  void Stop() {
    if (busy_) ui_.SetBusy(false);
    busy_ = false;
  }

 private:
  UserInterface& ui_;
  bool busy_ = true;
};

// Something that is there but is no file (a folder, a pipe) is refused when it is read,
// with a message that says what it is.
bool IsExistingFile(const fs::path& file) {
  return !file.empty() && env::KindOfFile(file) != env::FileKind::kMissing;
}

// Opens the eight tables in order. The vector closes those already open when a later
// one fails, and all of them when the run stops for any reason.
std::vector<Table> OpenImportTables(WorkFolder& folder) {
  std::vector<Table> tables;
  tables.reserve(std::size(kImportTables));
  for (const char* name : kImportTables) {
    try {
      tables.push_back(folder.OpenWorkTable(name, OpenMode::kExclusive));
      if (tables.size() == kSoluc + 1) CheckSolutionFields(tables[kSoluc]);
    } catch (const RunError& error) {
      throw RunError(std::string("No se puede abrir la tabla ") + name + ": " + error.message());
    }
  }
  return tables;
}

// The year code: the first four characters of the text of the first child node of
// /SERVICIO/BLOQUE_DATOS. White space alone is no node, as between elements: an indented
// empty BLOQUE_DATOS has no year code, like an empty one.
std::string YearCodeOrFail(const std::optional<std::string>& year_code, const fs::path& file) {
  if (!year_code) {
    throw RunError("El archivo " + env::PathText(file) +
                   " no tiene el a\xF1o acad\xE9mico: falta el contenido de "
                   "/SERVICIO/BLOQUE_DATOS. No es un archivo de intercambio de Ortelia.");
  }
  return *year_code;
}

PeriodDates ReadPeriodDates(WorkFolder& folder) {
  Table periods = folder.OpenWorkTable("PERIODOS");
  PeriodDates dates;
  periods.First();
  if (!periods.Eof()) {
    dates.start = periods.GetText("FECINI");
    dates.end = periods.GetText("FECFIN");
  }
  return dates;
}

fs::path OutputPath(const fs::path& input) {
  fs::path name = "ResultadoVelor";
  name += input.filename();
  return input.parent_path() / name;
}

}  // namespace

RunReport RunImport(const RunFolders& folders, UserInterface& ui, fs::path& selected_file) {
  RunReport report;
  if (auto chosen = ui.ChooseExchangeFile(selected_file)) selected_file = *chosen;
  if (!IsExistingFile(selected_file)) {
    ui.ShowMessage("No existe archivo");
    report.outcome = RunOutcome::kNoFile;
    return report;
  }

  BusyPointer busy(ui);
  try {
    env::RequireReadableFile(selected_file);
    // An export or restore stopped half way is finished before any table is read.
    worktables::CompleteInterruptedCommit(folders.work_folder);
    WorkFolder folder(folders.work_folder);
    std::vector<Table> tables = OpenImportTables(folder);
    // What an interrupted import of this file left beside it goes, now that the tables are
    // held and no other import can be writing it.
    const fs::path output_file = OutputPath(selected_file);
    ReplacementFile::ClearLeftovers(output_file);
    // Of the chosen file, the result keeps only its nodes outside the root and the year
    // code; the file is checked whole but read in parts, so that a big one never stands
    // in memory as a whole tree.
    std::optional<std::string> year_code;
    const xml::Prolog prolog = xml::Document::LoadInParts(
        selected_file,
        [&](const xml::Document& beginning) { year_code = tv::YearCode(beginning); });
    const std::string year = YearCodeOrFail(year_code, selected_file);

    if (!folder.FileExists("PERIODOS.DBF")) {
      tables.clear();
      busy.Stop();
      ui.ShowMessage("ATENCI\xD3N - PERIODOS.DBF No encontrado - Importe de nuevo XML de ORTELIA.");
      report.outcome = RunOutcome::kRefused;
      return report;
    }
    const PeriodDates dates = ReadPeriodDates(folder);

    xml::StreamWriter writer(output_file, prolog);
    OutputDocument output(writer, year, env::LocalDateTimeText(), tables[kProf].RecordCount());
    ScheduleSummary summary = AssembleSchedule({tables[kSoluc], tables[kProf], tables[kAsig],
                                                tables[kNomAsg], tables[kTramos], tables[kGrupos]},
                                               dates, output);
    output.Finish();
    // Rows after the ones SOLUC's header counts are not read, as no dBase reader reads
    // them; the summary says how many there are.
    const std::uint64_t uncounted = tables[kSoluc].UncountedRows();
    for (Table& table : tables) table.Close();
    tables.clear();
    writer.Commit();

    busy.Stop();
    ui.ShowMessage("Proceso finalizado");
    report.outcome = RunOutcome::kFinished;
    report.output_file = output_file;
    report.counts = {
        {"profesores", summary.teachers},
        {"lecciones", summary.lessons},
        {"lecciones sin tramo horario", summary.without_slot},
        {"lecciones sin carga lectiva", summary.without_load},
        {"lecciones sin grupo", summary.without_group},
        {"lecciones de profesores desconocidos", summary.unknown_teacher},
        {"filas sin colocar (DIA 0)", summary.unplaced},
    };
    if (uncounted > 0) {
      // "leídos" in code page 1252.
      report.counts.emplace_back(
          "registros de SOLUC tras los que cuenta su cabecera (no le\xED"
          "dos)",
          static_cast<std::size_t>(uncounted));
    }
    report.entries = std::move(summary.entries);
    return report;
  } catch (const RunError& error) {
    busy.Stop();
    ui.ShowError(error.message());
  } catch (const std::bad_alloc&) {
    busy.Stop();
    ui.ShowError("No hay memoria suficiente para importar " + env::PathText(selected_file) + ".");
  } catch (const std::exception& error) {
    busy.Stop();
    ui.ShowError("Error al importar " + env::PathText(selected_file) + ": " + error.what());
  }
  report.outcome = RunOutcome::kFailed;
  return report;
}

}  // namespace tv
