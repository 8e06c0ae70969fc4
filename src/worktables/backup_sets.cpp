#include "worktables/backup_sets.h"

#include <algorithm>
#include <ctime>
#include <system_error>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::worktables {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFormatLine = "TransVelorOrtelia copia 1";

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of a "key<TAB>value" line, when the line has that key.
bool Field(std::string_view line, std::string_view key, std::string& value) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '\t')
    return false;
  value = std::string(line.substr(key.size() + 1));
  return true;
}

BackupSet Examine(const fs::path& entry) {
  BackupSet set;
  set.name = entry.filename().string();
  std::error_code ec;
  if (!IsSetName(set.name) || !fs::is_directory(entry, ec)) {
    set.state = SetState::kForeign;
    set.problem = "no es una copia de TransVelorOrtelia";
    return set;
  }
  set.state = SetState::kDamaged;
  if (!Exists(entry / kSetDescriptionName)) {
    set.problem = Exists(entry / kSetDescriptionDraftName)
                      ? "copia sin terminar"
                      : std::string("falta ") + kSetDescriptionName;
    return set;
  }
  std::optional<SetDescription> description;
  try {
    description = SetDescription::Parse(env::ReadWholeFile(entry / kSetDescriptionName));
  } catch (const RunError& error) {
    set.problem = error.message();
    return set;
  }
  if (!description) {
    set.problem = std::string(kSetDescriptionName) + " no se entiende";
    return set;
  }
  std::vector<std::string> present;
  for (const fs::path& file : env::FolderFiles(entry)) {
    const std::string name = file.filename().string();
    if (name != kSetDescriptionName) present.push_back(name);
  }
  std::vector<std::string> listed = description->files;
  std::sort(listed.begin(), listed.end());
  if (present != listed) {
    set.problem = "sus archivos no son los que describe " + std::string(kSetDescriptionName);
    return set;
  }
  set.state = SetState::kComplete;
  set.description = std::move(*description);
  return set;
}

}  // namespace

std::string SetDescription::Serialize() const {
  std::string text(kFormatLine);
  text += "\nfecha\t" + made + "\nejecucion\t" + run + "\nleido\t" + read + "\n";
  for (const std::string& file : files) text += "archivo\t" + file + "\n";
  text += "fin\n";
  return text;
}

std::optional<SetDescription> SetDescription::Parse(std::string_view text) {
  SetDescription description;
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) return std::nullopt;
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  if (lines.size() < 5 || lines.front() != kFormatLine || lines.back() != "fin")
    return std::nullopt;
  if (!Field(lines[1], "fecha", description.made) ||
      !Field(lines[2], "ejecucion", description.run) || !Field(lines[3], "leido", description.read))
    return std::nullopt;
  for (std::size_t i = 4; i + 1 < lines.size(); ++i) {
    std::string file;
    if (!Field(lines[i], "archivo", file) || file.empty() ||
        file.find_first_of("/\\:") != std::string::npos)
      return std::nullopt;
    description.files.push_back(file);
  }
  return description;
}

bool IsSetName(std::string_view name) {
  // "20261211-164800", or with "-2", "-3"... after it.
  if (name.size() < 15 || !IsDigits(name.substr(0, 8)) || name[8] != '-' ||
      !IsDigits(name.substr(9, 6)))
    return false;
  if (name.size() == 15) return true;
  return name[15] == '-' && IsDigits(name.substr(16));
}

std::vector<BackupSet> ListBackupSets(const fs::path& work_folder) {
  const fs::path folder = work_folder / kBackupFolderName;
  std::vector<BackupSet> sets;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    sets.push_back(Examine(it->path()));
  }
  // Set names sort by age when their numbers are read as numbers: "...-10" after "...-9".
  auto age_key = [](const std::string& name) {
    const std::size_t suffix = name.size() > 15 ? std::stoul(name.substr(16)) : 1;
    return std::make_pair(name.substr(0, 15), suffix);
  };
  std::stable_sort(sets.begin(), sets.end(), [&](const BackupSet& a, const BackupSet& b) {
    const bool a_complete = a.state == SetState::kComplete;
    const bool b_complete = b.state == SetState::kComplete;
    if (a_complete != b_complete) return a_complete;
    if (a_complete) return age_key(a.name) > age_key(b.name);
    return a.name < b.name;
  });
  return sets;
}

std::string NewSetName(const fs::path& work_folder) {
  const std::time_t now = std::time(nullptr);
  const std::tm* utc = std::gmtime(&now);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", utc);
  const fs::path folder = work_folder / kBackupFolderName;
  std::string name = stamp;
  for (int n = 2; Exists(folder / name); ++n) name = std::string(stamp) + "-" + std::to_string(n);
  return name;
}

void RemoveOldSets(const fs::path& work_folder) {
  std::size_t complete = 0;
  for (const BackupSet& set : ListBackupSets(work_folder)) {
    if (set.state != SetState::kComplete) continue;
    if (++complete > kKeptSets) env::RemoveFolder(work_folder / kBackupFolderName / set.name);
  }
}

void RemoveUnfinishedSets(const fs::path& work_folder) {
  const fs::path folder = work_folder / kBackupFolderName;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return;
  std::vector<fs::path> unfinished;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path set = it->path();
    if (!IsSetName(set.filename().string()) || !fs::is_directory(set, ec)) continue;
    // Begun by a run that stopped before writing the draft: still empty.
    const bool empty = fs::is_empty(set, ec) && !ec;
    if (empty || (Exists(set / kSetDescriptionDraftName) && !Exists(set / kSetDescriptionName))) {
      unfinished.push_back(set);
    }
  }
  for (const fs::path& set : unfinished) env::RemoveFolder(set);
}

}  // namespace tv::worktables
