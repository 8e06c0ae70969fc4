#include "util/text.h"

namespace tv {

std::string LTrim(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return std::string(text.substr(i));
}

std::string RTrim(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return std::string(text.substr(0, n));
}

std::string AllTrim(std::string_view text) { return LTrim(RTrim(text)); }

std::string LeftPart(std::string_view text, long n) {
  if (n <= 0) return {};
  if (static_cast<std::size_t>(n) >= text.size()) return std::string(text);
  return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string RightPart(std::string_view text, long n) {
  if (n <= 0) return {};
  if (static_cast<std::size_t>(n) >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - static_cast<std::size_t>(n)));
}

std::string Capitals(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') result += c;
  }
  return result;
}

std::string InitialsAfter(std::string_view text) {
  std::string result;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == ' ') result += text[i + 1];
  }
  return result;
}

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string FoldCase1252(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') {
      c = static_cast<char>(u + 32);
    } else if (u >= 0xC0 && u <= 0xDE && u != 0xD7) {
      c = static_cast<char>(u + 32);  // À..Þ to à..þ, × excluded
    } else if (u == 0x8A || u == 0x8C || u == 0x8E) {
      c = static_cast<char>(u + 16);  // Š, Œ, Ž to š, œ, ž
    } else if (u == 0x9F) {
      c = static_cast<char>(0xFF);  // Ÿ to ÿ
    }
  }
  return result;
}

}  // namespace tv
