// The one value the program keeps in an ini file ("Velorim.ini"): an updater that
// changes a single line and leaves every other byte of the file as it was. Section and
// key names match regardless of letter case, as the ini functions of Windows do.
// No Qt here: the file is shared with Velorim, which reads it with those functions.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tv::app {

// Sets KEY=VALUE in [SECTION] of `file`:
// - an existing key line of the section (the first one) becomes "<its key>=VALUE",
//   keeping its line ending;
// - a section without the key gets a new line after its last non-blank line;
// - a file without the section gets the section and the key at its end;
// - a missing file is created with just the section and the key.
// New lines end like the file's first line (CR LF for a new file). The new content is
// written beside the file and moved over it, so the file is never left half written; the
// temporary files an interrupted update left beside it are removed first.
// Throws RunError "Unable to write to <file>" when the file cannot be read or written.
void WriteIniValue(const std::filesystem::path& file, std::string_view section,
                   std::string_view key, std::string_view value);

// The updated content of an ini file, as WriteIniValue would write it.
std::string UpdateIniText(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace tv::app
