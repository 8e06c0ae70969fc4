// POSIX branch of the operating-system seam.
#include <fcntl.h>
#include <langinfo.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "util/cp1252.h"
#include "util/env.h"
#include "util/env_fault.h"
#include "util/run_error.h"
#include "util/text.h"

namespace tv::env {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path();
  return exe.parent_path();
}

fs::path DefaultWorkFolder() {
  if (const char* folder = std::getenv("TRANSVELOR_WORK_FOLDER"); folder && *folder) {
    return fs::path(folder);
  }
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
    return fs::path(prefix) / "drive_c" / "QTEMP";
  }
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : ".") / ".wine" / "drive_c" / "QTEMP";
}

std::optional<fs::path> FindFileNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  const fs::path exact = folder / name;
  if (fs::exists(exact, ec)) return exact;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  std::optional<fs::path> found;
  for (const auto& entry : it) {
    const std::string entry_name = entry.path().filename().string();
    // Several spellings of one name: take the first in name order, so the choice is stable.
    if (EqualIgnoringAsciiCase(entry_name, name) && (!found || entry.path() < *found))
      found = entry.path();
  }
  return found;
}

FileKind KindOfFile(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return FileKind::kMissing;
  if (S_ISREG(info.st_mode)) return FileKind::kRegularFile;
  if (S_ISDIR(info.st_mode)) return FileKind::kDirectory;
  if (S_ISFIFO(info.st_mode)) return FileKind::kPipe;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return FileKind::kDevice;
  return FileKind::kOther;
}

namespace {

std::string SystemReason() { return Utf8ToCp1252(std::strerror(errno)); }

}  // namespace

std::string FaultReason(FaultKind kind) {
  switch (kind) {
    case FaultKind::kDiskFull:
      return Utf8ToCp1252(std::strerror(ENOSPC));
    case FaultKind::kPermission:
      return Utf8ToCp1252(std::strerror(EACCES));
    case FaultKind::kSharing:
      return Utf8ToCp1252(std::strerror(EBUSY));
  }
  return {};
}

void SyncFile(const fs::path& path) {
  FileOperation("No se puede escribir en", path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    const std::string reason = SystemReason();
    if (fd >= 0) ::close(fd);
    throw RunError("No se puede escribir en " + PathText(path) + ": " + reason);
  }
  ::close(fd);
}

void SyncFolder(const fs::path& folder) {
  FileOperation("No se puede escribir en la carpeta", folder);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // Some file systems cannot sync a folder (EINVAL): their names are as safe as they get.
  if (fd < 0 || (::fsync(fd) != 0 && errno != EINVAL)) {
    const std::string reason = SystemReason();
    if (fd >= 0) ::close(fd);
    throw RunError("No se puede escribir en la carpeta " + PathText(folder) + ": " + reason);
  }
  ::close(fd);
}

void ReplaceFile(const fs::path& source, const fs::path& target) {
  FileOperation("No se puede reemplazar", target);
  // The new contents reach the disk before the name does, so a power cut never leaves an
  // empty file where the old one was.
  const int fd = ::open(source.c_str(), O_RDONLY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  if (std::rename(source.c_str(), target.c_str()) != 0) {
    throw RunError("No se puede reemplazar " + PathText(target) + ": " + SystemReason());
  }
}

void UseUtf8Terminal() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::filesystem::path PathFromUtf8(const std::string& utf8) { return std::filesystem::path(utf8); }

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

std::uint64_t PeakResidentBytes() {
  struct rusage usage {};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // Linux counts kilobytes
}

std::string LocalDateTimeText() {
  static const bool locale_set = std::setlocale(LC_TIME, "") != nullptr;
  (void)locale_set;
  const std::time_t now = std::time(nullptr);
  std::tm date{};
  localtime_r(&now, &date);
  std::string date_format = nl_langinfo(D_FMT);
  std::string time_format = nl_langinfo(T_FMT);
  const char* locale = std::setlocale(LC_TIME, nullptr);
  // The C locale (also as "C.UTF-8") gives month/day/year: no user's format at all.
  const bool plain = locale == nullptr || std::strcmp(locale, "C") == 0 ||
                     std::strncmp(locale, "C.", 2) == 0 || std::strcmp(locale, "POSIX") == 0 ||
                     date_format.empty();
  if (plain) {
    date_format = "%d/%m/%Y";
    time_format = "%H:%M:%S";
  }
  char date_text[128];
  char time_text[128];
  std::strftime(date_text, sizeof date_text, date_format.c_str(), &date);
  // The time is taken separately, after the date.
  const std::time_t later = std::time(nullptr);
  std::tm time{};
  localtime_r(&later, &time);
  std::strftime(time_text, sizeof time_text, time_format.c_str(), &time);
  std::string text = std::string(date_text) + " " + time_text;
  // A UTF-8 locale may spell its formats with letters beyond ASCII ("a. m.", month names).
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) text = Utf8ToCp1252(text);
  return text;
}

std::string PathText(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToCp1252(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

namespace {

[[noreturn]] void ThrowFileError(const std::string& what, const fs::path& path) {
  throw RunError(what + " " + PathText(path) + ": " + SystemReason());
}

// Takes the whole-file lock of an open file description, so that two opens of one file
// inside this process exclude each other just as opens from two processes do.
// Returns false when another open holds a lock that excludes this one.
bool TakeLock(int fd, bool exclusive, const fs::path& path) {
  struct flock lock {};
  lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  lock.l_pid = 0;
  while (fcntl(fd, F_OFD_SETLK, &lock) != 0) {
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return false;
    ThrowFileError("No se puede bloquear", path);
  }
  return true;
}

[[noreturn]] void ThrowInUse(const fs::path& path) {
  // "está" in code page 1252.
  throw RunError("El archivo " + PathText(path) +
                 " est\xE1 abierto por otro programa o en uso exclusivo");
}

}  // namespace

TableFile TableFile::Open(const fs::path& path, ShareMode mode) {
  FileOperation("No se puede abrir", path);
  TableFile file;
  file.path_ = path;
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  file.writable_ = true;
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    file.writable_ = false;
  }
  if (fd < 0) ThrowFileError("No se puede abrir", path);
  file.handle_ = fd;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    ThrowFileError("No se puede abrir", path);
  }
  // A file that cannot be written cannot take a write lock: its exclusive open keeps
  // writers out with a read lock.
  const bool exclusive = mode == ShareMode::kExclusive && file.writable_;
  if (!TakeLock(fd, exclusive, path)) ThrowInUse(path);
  return file;
}

TableFile TableFile::Create(const fs::path& path) {
  FileOperation("No se puede crear", path);
  TableFile file;
  file.path_ = path;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) ThrowFileError("No se puede crear", path);
  file.handle_ = fd;
  file.writable_ = true;
  if (!TakeLock(fd, true, path)) ThrowInUse(path);
  file.Truncate(0);
  return file;
}

std::size_t TableFile::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  FileOperation("No se puede leer", path_);
  std::size_t done = 0;
  char* out = static_cast<char*>(data);
  while (done < size) {
    const ssize_t n = ::pread(static_cast<int>(handle_), out + done, size - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowFileError("No se puede leer", path_);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void TableFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
  FileOperation("No se puede escribir en", path_);
  std::size_t done = 0;
  const char* in = static_cast<const char*>(data);
  while (done < size) {
    const ssize_t n = ::pwrite(static_cast<int>(handle_), in + done, size - done,
                               static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowFileError("No se puede escribir en", path_);
    }
    done += static_cast<std::size_t>(n);
  }
}

std::uint64_t TableFile::Size() const {
  struct stat info {};
  if (fstat(static_cast<int>(handle_), &info) != 0) ThrowFileError("No se puede leer", path_);
  return static_cast<std::uint64_t>(info.st_size);
}

void TableFile::Truncate(std::uint64_t size) {
  FileOperation("No se puede escribir en", path_);
  if (ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) != 0) {
    ThrowFileError("No se puede escribir en", path_);
  }
}

void TableFile::Flush() {
  // pwrite hands the data to the kernel at once; nothing is held back here.
}

void TableFile::Sync() {
  FileOperation("No se puede escribir en", path_);
  if (::fsync(static_cast<int>(handle_)) != 0) ThrowFileError("No se puede escribir en", path_);
}

void TableFile::Close() noexcept {
  if (handle_ == kNoHandle) return;
  // Closing the last descriptor of the open file description releases its lock.
  ::close(static_cast<int>(handle_));
  handle_ = kNoHandle;
}

}  // namespace tv::env
