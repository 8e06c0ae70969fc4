// Help: the help file "ORTELIA.chm" beside the program, opened at help context 3 by F1
// and at its contents by the help button.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tv::desktop {

inline constexpr char kHelpFileName[] = "ORTELIA.chm";
inline constexpr int kHelpContext = 3;

// The help file of `program_folder`, in any letter case, or nothing when it is missing.
std::optional<std::filesystem::path> FindHelpFile(const std::filesystem::path& program_folder);

// What the user is told when the help file is missing (code page 1252).
std::string MissingHelpFileMessage(const std::filesystem::path& program_folder);

}  // namespace tv::desktop
