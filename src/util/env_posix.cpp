// POSIX branch of the operating-system seam.
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "util/env.h"
#include "util/run_error.h"

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

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

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
    if (EqualNoCase(entry_name, name) && (!found || entry.path() < *found)) found = entry.path();
  }
  return found;
}

void ReplaceFile(const fs::path& source, const fs::path& target) {
  if (std::rename(source.c_str(), target.c_str()) != 0) {
    throw RunError("No se puede reemplazar " + target.string() + ": " + std::strerror(errno));
  }
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
  const bool plain = locale == nullptr || std::strcmp(locale, "C") == 0 ||
                     std::strcmp(locale, "POSIX") == 0 || date_format.empty();
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
  return std::string(date_text) + " " + time_text;
}

}  // namespace tv::env
