// The result flag a launched program leaves for Velorim: "Transformado" in the section
// "Transformadores" of "Velorim.ini" in the program's folder. Only that line changes;
// the rest of the file stays as it was.
#pragma once

#include <filesystem>

namespace tv::desktop {

// The ini file of `program_folder`: an existing "Velorim.ini" in any letter case, or a
// new one of that name.
std::filesystem::path ResultFlagFile(const std::filesystem::path& program_folder);

// Writes the flag as a decimal integer. Throws RunError "Unable to write to <file>".
void WriteResultFlag(const std::filesystem::path& program_folder, int flag);

}  // namespace tv::desktop
