// The Velorim.ini updater on any file content, section, key and value (the input's first
// three lines; the rest is the file). The update is checked where it must hold: with
// plain names, the value is there afterwards and a second update changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "fuzz_support.h"
#include "util/run_error.h"

namespace {

std::string_view NextLine(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  const std::string_view line = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return line;
}

bool Plain(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter && c != '_') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view section = NextLine(rest);
  const std::string_view key = NextLine(rest);
  const std::string_view value = NextLine(rest);
  const std::string text(rest);

  const std::string updated = tv::app::UpdateIniText(text, section, key, value);
  if (Plain(section) && Plain(key) && Plain(value)) {
    if (tv::app::UpdateIniText(updated, section, key, value) != updated) __builtin_trap();
    if (updated.find("=" + std::string(value)) == std::string::npos) __builtin_trap();
  }

  static const std::filesystem::path folder = tv::fuzz::ScratchFolder("ini");
  const std::filesystem::path file = folder / "Velorim.ini";
  tv::fuzz::WriteBytes(file, text);
  try {
    tv::app::WriteIniValue(file, section, key, value);
  } catch (const tv::RunError& error) {
    tv::fuzz::CheckPlainMessage(error.message());
  }
  return 0;
}
