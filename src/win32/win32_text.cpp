#include "win32/win32_text.h"

#include <windows.h>

#include "util/cp1252.h"

namespace tv::win32 {

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

std::wstring WideFromCp1252(const std::string& text) {
  // Every code page 1252 character is one UTF-16 unit.
  std::wstring out;
  for (char c : text) out += static_cast<wchar_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Cp1252FromWide(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    // Surrogate halves are characters code page 1252 cannot hold either.
    out += c >= 0xD800 && c <= 0xDFFF ? '?' : CodePointTo1252(static_cast<char32_t>(c));
  }
  return out;
}

}  // namespace tv::win32
