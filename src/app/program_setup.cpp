// The setup of the real program: the platform's folders and the runs.
#include "app/main_form.h"
#include "export/export_run.h"
#include "import/import_run.h"
#include "util/env.h"

namespace tv::app {

MainFormSetup ProgramSetup(const QStringList& parameters) {
  MainFormSetup setup;
  setup.parameters = parameters;
  setup.folders.work_folder = env::DefaultWorkFolder();
  setup.folders.program_folder = env::ProgramFolder();
  setup.export_run = RunExport;
  setup.import_run = RunImport;
  return setup;
}

}  // namespace tv::app
