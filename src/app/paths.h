// Paths and texts between Qt and the core: file names as the operating system spells
// them, and the core's code page 1252 texts as Unicode.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace tv::app {

QString ToQString(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& text);

// A code page 1252 text of the core, for the screen; and back.
QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);

}  // namespace tv::app
