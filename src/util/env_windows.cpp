// Windows branch of the operating-system seam. Paths are wide (UTF-16) all the way to the
// system calls, so a folder named "Horarios ñ" or "Jefatura á" works like any other; the
// core's 8-bit texts (code page 1252) are converted here, where they meet a path or the
// system's own texts.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// <windows.h> maps ReplaceFile to the system's ReplaceFileW; the seam's own is meant here.
#undef ReplaceFile

#include <string>
#include <vector>

#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::env {

namespace fs = std::filesystem;

namespace {

constexpr UINT kCodePage1252 = 1252;

std::wstring WideFrom1252(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int wide_size = MultiByteToWideChar(kCodePage1252, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(kCodePage1252, 0, text.data(), size, wide.data(), wide_size);
  return wide;
}

// Through UTF-8, so that characters code page 1252 lacks become "?" exactly as everywhere
// else in the core.
std::string Cp1252FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int utf8_size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), utf8_size, nullptr, nullptr);
  return Utf8ToCp1252(utf8);
}

std::string PathText(const fs::path& path) { return Cp1252FromWide(path.wstring()); }

// The system's description of an error code, in the user's language, without the line break
// Windows ends it with.
std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  if (text.empty()) return "error " + std::to_string(code);
  return Cp1252FromWide(text);
}

bool Exists(const fs::path& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

fs::path ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return fs::current_path();
    if (length < buffer.size()) return fs::path(std::wstring(buffer.data(), length)).parent_path();
    buffer.resize(buffer.size() * 2);  // a long path: cut to the buffer's size, try again
  }
}

fs::path DefaultWorkFolder() { return fs::path(L"C:\\QTEMP"); }

std::optional<fs::path> FindFileNoCase(const fs::path& folder, const std::string& name) {
  // The file system ignores letter case itself.
  const fs::path path = folder / WideFrom1252(name);
  if (Exists(path)) return path;
  return std::nullopt;
}

void ReplaceFile(const fs::path& source, const fs::path& target) {
  // Another program (a virus scanner, an indexer) may hold the target for a moment after it
  // was written or read: try again for about a second before giving up.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return;
    }
    error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
        error != ERROR_LOCK_VIOLATION) {
      break;
    }
    Sleep(100);
  }
  throw RunError("No se puede reemplazar " + PathText(target) + ": " + SystemMessage(error));
}

std::string LocalDateTimeText() {
  wchar_t date[128];
  wchar_t time[128];
  // The time is taken separately, after the date; both in the user's own formats.
  const int date_length =
      GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  const int time_length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  // The lengths count the terminating null.
  const std::wstring text = std::wstring(date, date_length > 0 ? date_length - 1 : 0) + L" " +
                            std::wstring(time, time_length > 0 ? time_length - 1 : 0);
  return Cp1252FromWide(text);
}

}  // namespace tv::env
