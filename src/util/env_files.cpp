// The part of the operating-system seam that both systems share: whole files and folders
// through std::filesystem and TableFile, and the test aid's count of file operations.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <system_error>

#include "util/env.h"
#include "util/env_fault.h"
#include "util/run_error.h"

namespace tv::env {

namespace fs = std::filesystem;

namespace {

struct FaultPlan {
  long long crash_at = 0;  // 0: never
  long long fail_at = 0;
  FaultKind kind = FaultKind::kDiskFull;
};

long long Number(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  return value > 0 ? value : 0;
}

FaultPlan ReadFaultPlan() {
  FaultPlan plan;
  plan.crash_at = Number(std::getenv("TRANSVELOR_TEST_CRASH_AT"));
  if (const char* fail = std::getenv("TRANSVELOR_TEST_FAIL_AT")) {
    plan.fail_at = Number(fail);
    const std::string text = fail;
    const std::size_t colon = text.find(':');
    const std::string kind = colon == std::string::npos ? "" : text.substr(colon + 1);
    if (kind == "permission") plan.kind = FaultKind::kPermission;
    if (kind == "sharing") plan.kind = FaultKind::kSharing;
  }
  return plan;
}

void ThrowFailed(const char* what, const fs::path& path, const std::error_code& error) {
  throw RunError(std::string(what) + " " + PathText(path) + ": " + error.message());
}

}  // namespace

void FileOperation(const char* what, const fs::path& path) {
  static const FaultPlan plan = ReadFaultPlan();
  if (plan.crash_at == 0 && plan.fail_at == 0) return;
  static std::atomic<long long> count{0};
  const long long n = ++count;
  if (n == plan.crash_at) std::_Exit(kTestCrashStatus);
  if (n == plan.fail_at) {
    throw RunError(std::string(what) + " " + PathText(path) + ": " + FaultReason(plan.kind));
  }
}

void WriteDurableFile(const fs::path& path, std::string_view bytes) {
  TableFile file = TableFile::Create(path);
  file.WriteAt(0, bytes.data(), bytes.size());
  file.Sync();
}

std::string ReadWholeFile(const fs::path& path) {
  const TableFile file = TableFile::Open(path, ShareMode::kShared);
  std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
  bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
  return bytes;
}

void RemoveFile(const fs::path& path) {
  FileOperation("No se puede borrar", path);
  std::error_code ec;
  fs::remove(path, ec);
  if (ec) ThrowFailed("No se puede borrar", path, ec);
}

void MakeFolder(const fs::path& folder) {
  FileOperation("No se puede crear la carpeta", folder);
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (ec) ThrowFailed("No se puede crear la carpeta", folder, ec);
}

void RemoveFolder(const fs::path& folder) {
  FileOperation("No se puede borrar la carpeta", folder);
  std::error_code ec;
  fs::remove_all(folder, ec);
  if (ec) ThrowFailed("No se puede borrar la carpeta", folder, ec);
}

void CopyWholeFile(const fs::path& file, const fs::path& copy) {
  FileOperation("No se puede copiar", file);
  std::error_code ec;
  fs::copy_file(file, copy, fs::copy_options::overwrite_existing, ec);
  if (ec) ThrowFailed("No se puede copiar", file, ec);
  SyncFile(copy);
}

void LinkOrCopyFile(const fs::path& file, const fs::path& copy) {
  FileOperation("No se puede copiar", file);
  std::error_code ec;
  fs::create_hard_link(file, copy, ec);
  if (!ec) return;
  CopyWholeFile(file, copy);
}

std::vector<fs::path> FolderFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_error;
    if (it->is_regular_file(type_error)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace tv::env
