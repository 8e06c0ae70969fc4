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
// GetProcessMemoryInfo from kernel32 (K32GetProcessMemoryInfo), without psapi.dll.
#ifndef PSAPI_VERSION
#define PSAPI_VERSION 2
#endif
#include <psapi.h>
// after windows.h
#include <shellapi.h>
// <windows.h> maps ReplaceFile to the system's ReplaceFileW; the seam's own is meant here.
#undef ReplaceFile

#include <algorithm>
#include <string>
#include <vector>

#include "util/cp1252.h"
#include "util/env.h"
#include "util/env_fault.h"
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
  // The file system ignores letter case itself; the entry comes back under its own spelling,
  // as the folder lists it. Wildcards are no part of a file name.
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return std::nullopt;
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileExW((folder / WideFrom1252(name)).c_str(), FindExInfoBasic,
                                         &entry, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return folder / fs::path(std::wstring(entry.cFileName)).filename();
}

std::string FaultReason(FaultKind kind) {
  switch (kind) {
    case FaultKind::kDiskFull:
      return SystemMessage(ERROR_DISK_FULL);
    case FaultKind::kPermission:
      return SystemMessage(ERROR_ACCESS_DENIED);
    case FaultKind::kSharing:
      return SystemMessage(ERROR_SHARING_VIOLATION);
  }
  return {};
}

void SyncFile(const fs::path& path) {
  FileOperation("No se puede escribir en", path);
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file)) {
    const DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    throw RunError("No se puede escribir en " + PathText(path) + ": " + SystemMessage(error));
  }
  CloseHandle(file);
}

void SyncFolder(const fs::path& folder) {
  // Every move is made with MOVEFILE_WRITE_THROUGH: it is on the disk when it returns.
  FileOperation("No se puede escribir en la carpeta", folder);
}

void ReplaceFile(const fs::path& source, const fs::path& target) {
  FileOperation("No se puede reemplazar", target);
  // The new contents reach the disk before the name does, so a power cut never leaves an
  // empty file where the old one was.
  const HANDLE written =
      CreateFileW(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (written != INVALID_HANDLE_VALUE) {
    FlushFileBuffers(written);
    CloseHandle(written);
  }
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

FileKind KindOfFile(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return FileKind::kDirectory;
  }
  // Asking for no access reads nothing and waits for nobody, also on a pipe or a device
  // ("NUL", "\\.\COM1"), which may have no attributes at all.
  const HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    // A file that exists but cannot be opened here: its own open will say why.
    return attributes == INVALID_FILE_ATTRIBUTES ? FileKind::kMissing : FileKind::kRegularFile;
  }
  const DWORD type = GetFileType(handle);
  CloseHandle(handle);
  switch (type) {
    case FILE_TYPE_DISK:
      return FileKind::kRegularFile;
    case FILE_TYPE_CHAR:
      return FileKind::kDevice;
    case FILE_TYPE_PIPE:
      return FileKind::kPipe;
    default:
      return FileKind::kOther;
  }
}

void UseUtf8Terminal() { SetConsoleOutputCP(CP_UTF8); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);  // the terminating zero
    arguments.push_back(std::move(text));
  }
  LocalFree(wide);
  return arguments;
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool StandardInputIsTerminal() {
  // _isatty is true for the NUL device too; only a console answers GetConsoleMode.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

std::uint64_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
  return counters.PeakWorkingSetSize;
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

std::string PathText(const fs::path& path) { return Cp1252FromWide(path.wstring()); }

namespace {

[[noreturn]] void ThrowFileError(const std::string& what, const fs::path& path, DWORD error) {
  throw RunError(what + " " + PathText(path) + ": " + SystemMessage(error));
}

bool IsSharingRefusal(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

[[noreturn]] void ThrowInUse(const fs::path& path) {
  // "está" in code page 1252.
  throw RunError("El archivo " + PathText(path) +
                 " est\xE1 abierto por otro programa o en uso exclusivo");
}

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The share mode is the lock: an exclusive open shares nothing, so every other open of the
// file fails while it lasts, in this process or another; shared opens let each other read
// and write. Nobody may delete or rename a table someone has open.
DWORD ShareFlags(bool exclusive) { return exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE; }

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

constexpr DWORD kLargestTransfer = 1u << 30;

}  // namespace

TableFile TableFile::Open(const fs::path& path, ShareMode mode) {
  FileOperation("No se puede abrir", path);
  TableFile file;
  file.path_ = path;
  const bool exclusive = mode == ShareMode::kExclusive;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, ShareFlags(exclusive),
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  file.writable_ = true;
  DWORD error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  if (error == ERROR_ACCESS_DENIED) {
    // A read-only file: its exclusive open keeps writers out and lets readers in.
    handle =
        CreateFileW(path.c_str(), GENERIC_READ, exclusive ? FILE_SHARE_READ : ShareFlags(false),
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    file.writable_ = false;
    error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  }
  if (handle == INVALID_HANDLE_VALUE) {
    if (IsSharingRefusal(error)) ThrowInUse(path);
    ThrowFileError("No se puede abrir", path, error);
  }
  file.handle_ = reinterpret_cast<std::intptr_t>(handle);
  return file;
}

TableFile TableFile::Create(const fs::path& path) {
  FileOperation("No se puede crear", path);
  TableFile file;
  file.path_ = path;
  // OPEN_ALWAYS, emptied afterwards: a file that another open holds is refused by the share
  // check before anything is changed.
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, ShareFlags(true), nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (IsSharingRefusal(error)) ThrowInUse(path);
    ThrowFileError("No se puede crear", path, error);
  }
  file.handle_ = reinterpret_cast<std::intptr_t>(handle);
  file.writable_ = true;
  file.Truncate(0);
  return file;
}

std::size_t TableFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  FileOperation("No se puede leer", path_);
  std::size_t done = 0;
  char* out = static_cast<char*>(data);
  while (done < size) {
    OVERLAPPED at = At(offset + done);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, kLargestTransfer));
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), out + done, want, &got, &at)) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      ThrowFileError("No se puede leer", path_, error);
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

void TableFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
  FileOperation("No se puede escribir en", path_);
  std::size_t done = 0;
  const char* in = static_cast<const char*>(data);
  while (done < size) {
    OVERLAPPED at = At(offset + done);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, kLargestTransfer));
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle_), in + done, want, &put, &at) || put == 0) {
      ThrowFileError("No se puede escribir en", path_, GetLastError());
    }
    done += put;
  }
}

std::uint64_t TableFile::Size() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(AsHandle(handle_), &size)) {
    ThrowFileError("No se puede leer", path_, GetLastError());
  }
  return static_cast<std::uint64_t>(size.QuadPart);
}

void TableFile::Truncate(std::uint64_t size) {
  FileOperation("No se puede escribir en", path_);
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(AsHandle(handle_), end, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(AsHandle(handle_))) {
    ThrowFileError("No se puede escribir en", path_, GetLastError());
  }
}

void TableFile::Flush() {
  // WriteFile hands the data to the system at once; nothing is held back here.
}

void TableFile::Sync() {
  FileOperation("No se puede escribir en", path_);
  if (!FlushFileBuffers(AsHandle(handle_))) {
    ThrowFileError("No se puede escribir en", path_, GetLastError());
  }
}

void TableFile::Close() noexcept {
  if (handle_ == kNoHandle) return;
  CloseHandle(AsHandle(handle_));
  handle_ = kNoHandle;
}

}  // namespace tv::env
