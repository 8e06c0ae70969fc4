#include "util/run_error.h"

#include <cstdint>

namespace tv {

RunError NotAnInteger(const std::string& text) {
  // "válido" written in code page 1252.
  return RunError("'" + text + "' no es un valor entero v\xE1lido");
}

int ParseInteger(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= text.size()) throw NotAnInteger(text);
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      throw NotAnInteger(text);
    }
    value = value * base + digit;
    if (value > (std::int64_t{1} << 32)) throw NotAnInteger(text);
  }
  if (negative) value = -value;
  if (base == 16) {
    // Hexadecimal numbers take all 32 bits, as a handle does: $FFFFFFFF is -1.
    if (value > 0xFFFFFFFFLL || value < -2147483648LL) throw NotAnInteger(text);
    return static_cast<int>(static_cast<std::uint32_t>(value));
  }
  if (value > 2147483647LL || value < -2147483648LL) throw NotAnInteger(text);
  return static_cast<int>(value);
}

}  // namespace tv
