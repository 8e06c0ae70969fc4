// Paths and texts between Qt and the core: file names as the operating system spells
// them, and the core's code page 1252 texts as Unicode.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace tv::app {

QString ToQString(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& text);

// A text of the windows (desktop/window_texts.h, UTF-8) for the screen.
inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// A code page 1252 text of the core, for the screen; and back.
QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);

}  // namespace tv::app
