// Texts between the core and the Windows API: the core's code page 1252 texts and the
// windows' UTF-8 texts as the wide texts Windows shows, and back.
#pragma once

#include <string>

namespace tv::win32 {

std::wstring WideFromUtf8(const std::string& utf8);
std::wstring WideFromCp1252(const std::string& text);
std::string Cp1252FromWide(const std::wstring& text);

}  // namespace tv::win32
