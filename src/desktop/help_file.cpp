#include "desktop/help_file.h"

#include "util/env.h"

namespace tv::desktop {

std::optional<std::filesystem::path> FindHelpFile(const std::filesystem::path& program_folder) {
  return env::FindFileNoCase(program_folder, kHelpFileName);
}

std::string MissingHelpFileMessage(const std::filesystem::path& program_folder) {
  return "No se encuentra el archivo de ayuda " + env::PathText(program_folder / kHelpFileName);
}

}  // namespace tv::desktop
