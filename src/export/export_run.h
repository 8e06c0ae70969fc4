// The export run: asks for an exchange file, checks it and the level table, and
// rebuilds Velorim's work tables from it in seven steps. Its report tells what the steps
// decided and what changed since the last export. The tables are built aside and
// moved into the work folder only when every step has succeeded, so a failed run leaves
// the work folder exactly as it was.
#pragma once

#include <filesystem>

#include "util/run_outcome.h"
#include "util/user_interface.h"

namespace tv {

// `selected_file` is the front end's SelectedFile: replaced when the user confirms a
// file, kept when the dialog is cancelled. Errors are shown through `ui` and reported
// as kFailed; the function itself does not throw for a failing run.
RunReport RunExport(const RunFolders& folders, UserInterface& ui,
                    std::filesystem::path& selected_file);

// The whole export, the comparison with the tables it would replace included, without
// replacing anything: the tables are built in the staging folder and go with it, so the
// work folder stays as it was. Ends with "Prueba finalizada: la carpeta de trabajo no ha
// cambiado" instead of "Proceso finalizado".
RunReport RunExportDryRun(const RunFolders& folders, UserInterface& ui,
                          std::filesystem::path& selected_file);

}  // namespace tv
