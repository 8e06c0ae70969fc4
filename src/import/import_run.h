// The import run: turns Velorim's solution and the work tables of the last export into
// a new exchange file, "ResultadoVelor" + the input's name, beside the chosen file.
#pragma once

#include <filesystem>

#include "util/run_outcome.h"
#include "util/user_interface.h"

namespace tv {

// `selected_file` as for RunExport. Errors are shown through `ui` and reported as
// kFailed; no output file is written then and an earlier one stays intact.
RunReport RunImport(const RunFolders& folders, UserInterface& ui,
                    std::filesystem::path& selected_file);

}  // namespace tv
