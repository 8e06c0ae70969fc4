// Everything the core asks of the operating system, in one place. Each function has a
// POSIX branch (env_posix.cpp) and a Windows branch (env_windows.cpp); nothing else in
// the core calls the operating system directly (std::filesystem is portable and allowed).
// Failures throw RunError with a message that names the file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tv::env {

// The folder of the running program file (not the current folder).
std::filesystem::path ProgramFolder();

// The work folder Velorim uses: "C:\QTEMP" on Windows. Elsewhere the environment
// variable TRANSVELOR_WORK_FOLDER when set, or else the folder where Wine shows drive C:
// $WINEPREFIX/drive_c/QTEMP, or ~/.wine/drive_c/QTEMP without WINEPREFIX.
std::filesystem::path DefaultWorkFolder();

// File names are not case-sensitive on Velorim's system: the entry of `folder` whose
// name equals `name` regardless of letter case (an exact match is preferred), or
// nothing. On a case-insensitive file system this is folder / name when it exists.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder,
                                                    const std::string& name);

// Moves `source` over `target` in one step, replacing a file of that name; both are in
// the same folder tree. A reader never sees a half-written target.
void ReplaceFile(const std::filesystem::path& source, const std::filesystem::path& target);

// The user's short date, one blank and the user's long time, for now. On Windows the
// system's formats; elsewhere the locale's, or day/month/year and 24-hour time
// ("11/12/2026 14:05:09") when the locale gives none.
std::string LocalDateTimeText();

}  // namespace tv::env
