#include "report/desktop_report.h"

#include "report/report_file.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv {

std::filesystem::path DesktopReportPath(RunKind run, const std::filesystem::path& exchange_file) {
  std::filesystem::path name =
      run == RunKind::kImport ? "InformeImportacion" : "InformeExportacion";
  name += exchange_file.stem();
  name += ".txt";
  return exchange_file.parent_path() / name;
}

bool WriteDesktopReport(RunKind run, const RunFolders& folders,
                        const std::filesystem::path& exchange_file, const RunReport& report,
                        UserInterface& ui) {
  if (report.outcome != RunOutcome::kFinished) return true;
  ReportSource source;
  source.run = run;
  source.exchange_file = exchange_file;
  source.work_folder = folders.work_folder;
  source.date_time = env::LocalDateTimeText();
  source.messages = {run == RunKind::kExportDryRun
                         ? "Prueba finalizada: la carpeta de trabajo no ha cambiado"
                         : "Proceso finalizado"};
  try {
    WriteReportFile(DesktopReportPath(run, exchange_file), source, report);
  } catch (const RunError& error) {
    ui.ShowError(error.message());
    return false;
  }
  return true;
}

}  // namespace tv
