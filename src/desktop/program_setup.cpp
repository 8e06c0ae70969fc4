// The setup of the real program: the platform's folders and the runs.
#include "desktop/main_window_rules.h"
#include "export/export_run.h"
#include "import/import_run.h"
#include "util/env.h"

namespace tv::desktop {

MainWindowSetup ProgramSetup(std::vector<std::string> parameters) {
  MainWindowSetup setup;
  setup.parameters = std::move(parameters);
  setup.folders.work_folder = env::DefaultWorkFolder();
  setup.folders.program_folder = env::ProgramFolder();
  setup.export_run = RunExport;
  setup.import_run = RunImport;
  return setup;
}

}  // namespace tv::desktop
