// The setup of the real program: the platform's folders and the runs.
#include "app/main_form.h"
#include "export/export_run.h"
#include "util/env.h"

namespace tv::app {

namespace {

// Until the import is part of the build, a click says so instead of doing nothing.
RunReport NotAvailable(const RunFolders&, UserInterface& ui, std::filesystem::path&) {
  ui.ShowMessage("Esta funci\xF3n no est\xE1 disponible en esta versi\xF3n.");
  return RunReport{RunOutcome::kRefused, {}, {}};
}

}  // namespace

MainFormSetup ProgramSetup(const QStringList& parameters) {
  MainFormSetup setup;
  setup.parameters = parameters;
  setup.folders.work_folder = env::DefaultWorkFolder();
  setup.folders.program_folder = env::ProgramFolder();
  setup.export_run = RunExport;
  setup.import_run = NotAvailable;
  return setup;
}

}  // namespace tv::app
