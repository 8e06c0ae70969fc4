#include "cli/terminal_text.h"

#include <cstdio>

namespace tv::cli {

std::string TerminalText(std::string_view utf8, bool keep_line_breaks) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    char escaped[8];
    if (byte < 0x20 || byte == 0x7F) {
      if (keep_line_breaks && (byte == '\n' || byte == '\t')) {
        out += utf8[i];
        continue;
      }
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else if (byte == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      // U+0080 to U+009F, written in UTF-8 as C2 80 to C2 9F.
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(utf8[i + 1]));
      out += escaped;
      ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

}  // namespace tv::cli
