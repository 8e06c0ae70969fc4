#include "util/cp1252.h"

#include <array>

namespace tv {
namespace {

// Code points of the bytes 0x80 to 0x9F in code page 1252.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

char CodePointTo1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf8ToCp1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    } else {
      out += '?';
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
      out += '?';
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    out += CodePointTo1252(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace tv
