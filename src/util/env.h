// Everything the core asks of the operating system, in one place. Each function has a
// POSIX branch (env_posix.cpp) and a Windows branch (env_windows.cpp); nothing else in
// the core calls the operating system directly (std::filesystem is portable and allowed).
// Failures throw RunError with a message that names the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// What a path names, asked without opening it (so a named pipe never blocks the asking).
// Only a regular file can be read as an exchange file or a table.
enum class FileKind { kMissing, kRegularFile, kDirectory, kPipe, kDevice, kOther };
FileKind KindOfFile(const std::filesystem::path& path);

// The words for a kind of path, for messages, in code page 1252: "una carpeta",
// "una tuber\xEDa con nombre (FIFO)", "un dispositivo"...
std::string FileKindText(FileKind kind);

// Throws RunError ("No se puede leer X: es una carpeta, no un archivo.") when the path
// names something other than a regular file. A missing path passes: opening it says so.
void RequireReadableFile(const std::filesystem::path& path);

// Moves `source` over `target` in one step, replacing a file of that name; both are in
// the same folder tree. A reader never sees a half-written target.
void ReplaceFile(const std::filesystem::path& source, const std::filesystem::path& target);

// ---- Whole files and folders --------------------------------------------------------
// Each of these, like every open, read, write, truncation and sync of a TableFile and every
// ReplaceFile, is one file operation: it may fail (RunError naming the file) and it counts
// for the test aid below. Queries (FindFileNoCase, whether a file exists) do not count.

// Writes `bytes` as the whole content of the file `path` (made anew, replacing a file of
// that name) and makes it durable before returning.
void WriteDurableFile(const std::filesystem::path& path, std::string_view bytes);
// The whole content of a file.
std::string ReadWholeFile(const std::filesystem::path& path);
// Makes what was written to a file durable: on the disk, not only handed to the system.
void SyncFile(const std::filesystem::path& path);
// Makes the names of a folder durable, so that files moved into or out of it stay moved
// after a power cut (on Windows the moves themselves are written through: nothing to do).
void SyncFolder(const std::filesystem::path& folder);
// Removes a file; nothing to do when there is none of that name.
void RemoveFile(const std::filesystem::path& path);
// Creates a folder; nothing to do when it exists.
void MakeFolder(const std::filesystem::path& folder);
// Removes a folder with everything in it; nothing to do when there is none.
void RemoveFolder(const std::filesystem::path& folder);
// Copies `file` to `copy` (replacing a file of that name) and makes the copy durable.
void CopyWholeFile(const std::filesystem::path& file, const std::filesystem::path& copy);
// Makes `copy` a second name of `file` where the file system allows it, else a copy of it.
void LinkOrCopyFile(const std::filesystem::path& file, const std::filesystem::path& copy);
// The plain files directly inside `folder`, in name order (none when it cannot be read).
std::vector<std::filesystem::path> FolderFiles(const std::filesystem::path& folder);

// ---- Test aid: crash and failure points ---------------------------------------------
// Read once from the environment, in every build:
//   TRANSVELOR_TEST_CRASH_AT=N  the Nth file operation of the process ends it at once
//                               instead (exit status kTestCrashStatus, no clean-up at all,
//                               as a kill would);
//   TRANSVELOR_TEST_FAIL_AT=N[:KIND]  the Nth file operation fails instead, as the system
//                               would fail it: KIND is disk-full (when left out),
//                               permission or sharing (another program holds the file).
// Operations count from 1 in the order the process performs them. Users never set these.
inline constexpr int kTestCrashStatus = 70;
// Called by every file operation before it acts: counts it, and ends the process or throws
// RunError ("<what> <path>: <reason>") when the test aid asks for it here.
void FileOperation(const char* what, const std::filesystem::path& path);

// The user's short date, one blank and the user's long time, for now. On Windows the
// system's formats; elsewhere the locale's, or day/month/year and 24-hour time
// ("11/12/2026 14:05:09") when the locale gives none.
std::string LocalDateTimeText();

// Makes the terminal show the UTF-8 text the command-line tool prints (the Windows console
// otherwise reads it in its own code page); elsewhere nothing to do.
void UseUtf8Terminal();

// The program's command-line arguments, its own name first, in UTF-8. Windows hands a
// program its narrow arguments in the ANSI code page, which loses characters such as
// "€" or curly quotes: there they are read from the wide command line instead.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// A path given as UTF-8 text (a command-line argument).
std::filesystem::path PathFromUtf8(const std::string& utf8);

// Whether standard input is a person's terminal (a console on Windows; the NUL device,
// a pipe or a file is not).
bool StandardInputIsTerminal();

// The most memory this process has held resident at once so far, in bytes, as the
// operating system counts it (0 when it does not tell).
std::uint64_t PeakResidentBytes();

// The path as a code page 1252 text, for messages.
std::string PathText(const std::filesystem::path& path);

// How a table file is shared with other opens of the same file, in this process or
// another: shared opens coexist with each other; an exclusive open excludes every other.
enum class ShareMode { kShared, kExclusive };

// A data or index file of a work table, open with the operating system's sharing lock
// held on the whole file until it is closed (POSIX: an open-file-description lock, a
// read lock for shared and a write lock for exclusive; Windows: the share mode of the
// open, or LockFileEx). Reads and writes go straight to the file at the given offsets:
// callers buffer. Every failure throws RunError naming the file. Closed on destruction.
class TableFile {
 public:
  TableFile() = default;
  ~TableFile() { Close(); }
  TableFile(TableFile&& other) noexcept
      : handle_(other.handle_), writable_(other.writable_), path_(std::move(other.path_)) {
    other.handle_ = kNoHandle;
  }
  TableFile& operator=(TableFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.handle_;
      writable_ = other.writable_;
      path_ = std::move(other.path_);
      other.handle_ = kNoHandle;
    }
    return *this;
  }
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  // Opens an existing file for reading and writing, or for reading only when the file
  // cannot be written (then Writable() is false and an exclusive open only keeps writers
  // out). Throws when the file is missing, cannot be opened, or the lock is refused
  // because another open holds it in a mode that excludes this one.
  static TableFile Open(const std::filesystem::path& path, ShareMode mode);
  // Creates the file empty for reading and writing, held exclusively. An existing file
  // is emptied, but only once the exclusive lock is granted: a file that another open
  // holds is refused and left as it is.
  static TableFile Create(const std::filesystem::path& path);

  bool IsOpen() const { return handle_ != kNoHandle; }
  bool Writable() const { return writable_; }
  const std::filesystem::path& Path() const { return path_; }

  // Reads up to `size` bytes at `offset`; returns how many were read (fewer only at
  // the end of the file).
  std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) const;
  // Writes all `size` bytes at `offset`, extending the file when needed.
  void WriteAt(std::uint64_t offset, const void* data, std::size_t size);
  std::uint64_t Size() const;
  void Truncate(std::uint64_t size);
  // Hands what was written to the operating system (not a disk sync).
  void Flush();
  // Makes what was written durable: on the disk, not only handed to the system.
  void Sync();
  // Releases the lock and closes the file; harmless when closed. Never throws.
  void Close() noexcept;

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;  // a file descriptor, or a HANDLE on Windows
  bool writable_ = false;
  std::filesystem::path path_;
};

}  // namespace tv::env
