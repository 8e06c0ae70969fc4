#include "desktop/result_flag.h"

#include <string>

#include "app/ini_file.h"
#include "util/env.h"

namespace tv::desktop {

std::filesystem::path ResultFlagFile(const std::filesystem::path& program_folder) {
  return env::FindFileNoCase(program_folder, "Velorim.ini")
      .value_or(program_folder / "Velorim.ini");
}

void WriteResultFlag(const std::filesystem::path& program_folder, int flag) {
  app::WriteIniValue(ResultFlagFile(program_folder), "Transformadores", "Transformado",
                     std::to_string(flag));
}

}  // namespace tv::desktop
