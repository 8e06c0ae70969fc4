#include "app/ini_file.h"

#include <vector>

#include "util/cp1252.h"
#include "util/env.h"
#include "util/replacement_file.h"
#include "util/run_error.h"

namespace tv::app {

namespace fs = std::filesystem;

namespace {

struct Line {
  std::string_view content;  // without its ending
  std::string_view ending;   // "\r\n", "\n" or "" (the last line of a file without one)
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    std::size_t end = lf;
    if (end > start && text[end - 1] == '\r') --end;
    lines.push_back({text.substr(start, end - start), text.substr(end, lf + 1 - end)});
    start = lf + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The name of a section header line ("[ name ]"), or nothing for any other line.
bool SectionName(std::string_view content, std::string_view& name) {
  const std::string_view line = Trim(content);
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

// The key of a "key=value" line, or nothing for comments, blank and other lines.
bool KeyName(std::string_view content, std::string_view& key) {
  const std::string_view line = Trim(content);
  if (line.empty() || line.front() == ';' || line.front() == '#') return false;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(line.substr(0, equals));
  return true;
}

[[noreturn]] void CannotWrite(const fs::path& file) {
  throw RunError("Unable to write to " + Utf8ToCp1252(file.string()));
}

}  // namespace

std::string UpdateIniText(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  const std::string_view newline = lines.empty() || lines.front().ending.empty()
                                       ? std::string_view("\r\n")
                                       : lines.front().ending;
  const std::string key_line = std::string(key) + "=" + std::string(value);

  // The first section of that name, and within it the first line of the key.
  std::size_t header = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (SectionName(lines[i].content, name) && EqualNoCase(name, section)) {
      header = i;
      break;
    }
  }

  std::string out;
  out.reserve(text.size() + key_line.size() + section.size() + 8);
  const auto append_line = [&out](const Line& line) {
    out.append(line.content);
    out.append(line.ending);
  };

  if (header == lines.size()) {
    out.append(text);
    if (!out.empty() && out.back() != '\n') out.append(newline);
    out.append("[").append(section).append("]").append(newline);
    out.append(key_line).append(newline);
    return out;
  }

  std::size_t end = header + 1;  // one past the section's last line
  std::size_t last_filled = header;
  std::size_t key_at = lines.size();
  for (; end < lines.size(); ++end) {
    std::string_view name;
    if (SectionName(lines[end].content, name)) break;
    if (!Trim(lines[end].content).empty()) last_filled = end;
    std::string_view found;
    if (key_at == lines.size() && KeyName(lines[end].content, found) && EqualNoCase(found, key)) {
      key_at = end;
    }
  }

  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == key_at) {
      std::string_view existing;
      KeyName(lines[i].content, existing);
      out.append(existing).append("=").append(value).append(lines[i].ending);
      continue;
    }
    append_line(lines[i]);
    if (key_at == lines.size() && i == last_filled) {
      if (lines[i].ending.empty()) out.append(newline);
      out.append(key_line).append(newline);
    }
  }
  return out;
}

void WriteIniValue(const fs::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  std::string text;
  try {
    // What an interrupted update left beside the file goes first.
    ReplacementFile::ClearLeftovers(file);
    std::error_code ec;
    if (fs::exists(file, ec)) {
      // Only a plain file that can be read and written is updated; a read-only file
      // stays as the user made it.
      if (!fs::is_regular_file(file, ec)) CannotWrite(file);
      if (!env::TableFile::Open(file, env::ShareMode::kShared).Writable()) CannotWrite(file);
      text = env::ReadWholeFile(file);
    }
    ReplacementFile updated(file);
    updated.Append(UpdateIniText(text, section, key, value));
    updated.Commit();
  } catch (const RunError&) {
    CannotWrite(file);
  }
}

}  // namespace tv::app
