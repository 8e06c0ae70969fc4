#include "worktables/dbf_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "util/run_error.h"

namespace tv::worktables {

namespace {

std::uint64_t BigEndian(const unsigned char* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

std::uint64_t LittleEndian(const unsigned char* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

double DoubleFromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// dBase 7 stores its binary numbers big-endian with the sign bit flipped, and negative
// numbers with all bits inverted, so that they sort as bytes.
std::uint64_t UnflipDbase7(std::uint64_t bits, int bytes) {
  const std::uint64_t sign = std::uint64_t{1} << (8 * bytes - 1);
  if (bits & sign) return bits & ~sign;
  const std::uint64_t mask = bytes == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * bytes)) - 1;
  return ~bits & mask;
}

std::string FormatDouble(double value) {
  if (std::isnan(value) || std::isinf(value)) return "";
  char text[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    std::snprintf(text, sizeof text, "%.15g", value);
    if (std::strchr(text, 'e') == nullptr) return PlainNumber(text);
  }
  return text;
}

std::string FormatJulian(std::int64_t julian_day, std::int64_t milliseconds) {
  // Julian day number to the civil date (Fliegel and Van Flandern).
  std::int64_t l = julian_day + 68569;
  const std::int64_t n = 4 * l / 146097;
  l = l - (146097 * n + 3) / 4;
  const std::int64_t i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const std::int64_t j = 80 * l / 2447;
  const std::int64_t day = l - 2447 * j / 80;
  l = j / 11;
  const std::int64_t month = j + 2 - 12 * l;
  const std::int64_t year = 100 * (n - 49) + i + l;
  const std::int64_t seconds = milliseconds / 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%04lld%02lld%02lld %02lld:%02lld:%02lld",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(seconds / 3600 % 24),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

bool AllBlank(const char* p, int length) {
  for (int i = 0; i < length; ++i) {
    if (p[i] != ' ' && p[i] != '\0') return false;
  }
  return true;
}

std::string_view TrimmedText(const char* p, int length) {
  int end = length;
  while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0')) --end;
  return std::string_view(p, static_cast<std::size_t>(end));
}

bool ParseDecimal(std::string_view text, double& value) {
  // Sign, digits, an optional fraction and exponent; nothing around them.
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent_digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  if (i != text.size()) return false;
  value = std::strtod(std::string(text).c_str(), nullptr);
  return true;
}

RunError NotAFloat(std::string_view text) {
  return RunError("'" + std::string(text) + "' no es un valor de coma flotante v\xE1lido");
}

RunError NotALogical(std::string_view text) {
  return RunError("'" + std::string(text) + "' no es un valor l\xF3gico v\xE1lido");
}

RunError DoesNotFit(const std::string& text, const DbfField& field) {
  return RunError("El valor " + text + " no cabe en el campo " + field.name);
}

RunError NotWritable(const DbfField& field) {
  return RunError("El campo " + field.name + " (tipo " + std::string(1, field.type) +
                  ") no se puede escribir");
}

void Fill(const DbfField& field, char* record, std::string_view text, bool right_aligned) {
  char* p = record + field.offset;
  const std::size_t width = static_cast<std::size_t>(field.length);
  const std::size_t n = std::min(text.size(), width);
  std::memset(p, ' ', width);
  if (right_aligned) {
    std::memcpy(p + (width - n), text.data(), n);
  } else {
    std::memcpy(p, text.data(), n);
  }
}

}  // namespace

std::string PlainNumber(std::string_view stored) {
  std::size_t begin = 0, end = stored.size();
  while (begin < end && (stored[begin] == ' ' || stored[begin] == '\0')) ++begin;
  while (end > begin && (stored[end - 1] == ' ' || stored[end - 1] == '\0')) --end;
  const std::string_view text = stored.substr(begin, end - begin);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t int_begin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  std::string_view int_part = text.substr(int_begin, i - int_begin);
  std::string_view fraction;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction_begin = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    fraction = text.substr(fraction_begin, i - fraction_begin);
  }
  if (i != text.size() || (int_part.empty() && fraction.empty())) return std::string(text);
  while (!int_part.empty() && int_part.front() == '0') int_part.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  std::string out;
  if (negative && !(int_part.empty() && fraction.empty())) out += '-';
  if (int_part.empty()) {
    out += '0';
  } else {
    out += int_part;
  }
  if (!fraction.empty()) {
    out += '.';
    out += fraction;
  }
  return out;
}

std::string ReadText(const DbfField& field, DbfFamily family, const char* record) {
  const char* p = record + field.offset;
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  const int length = field.length;
  switch (field.type) {
    case 'C':
    case 'D':
      return std::string(TrimmedText(p, length));
    case 'N':
    case 'F':
      return PlainNumber(std::string_view(p, static_cast<std::size_t>(length)));
    case 'L':
      switch (p[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
          return "T";
        case 'F':
        case 'f':
        case 'N':
        case 'n':
          return "F";
        default:
          return "";
      }
    case 'I':
      if (length != 4) break;
      return std::to_string(static_cast<std::int32_t>(LittleEndian(u, 4)));
    case '+':
      if (length != 4) break;
      return std::to_string(static_cast<std::int32_t>(UnflipDbase7(BigEndian(u, 4), 4)));
    case 'O':
      if (length != 8 || AllBlank(p, length)) return "";
      return FormatDouble(DoubleFromBits(UnflipDbase7(BigEndian(u, 8), 8)));
    case 'B':
      // A double in Visual FoxPro; elsewhere the block number of a binary memo.
      if (family != DbfFamily::kVisualFoxPro || length != 8) return "";
      return FormatDouble(DoubleFromBits(LittleEndian(u, 8)));
    case 'Y': {
      if (length != 8) break;
      const auto units = static_cast<std::int64_t>(LittleEndian(u, 8));
      char text[48];
      std::snprintf(text, sizeof text, "%s%lld.%04lld", units < 0 ? "-" : "",
                    static_cast<long long>(std::llabs(units) / 10000),
                    static_cast<long long>(std::llabs(units) % 10000));
      return PlainNumber(text);
    }
    case 'T':
      if (length != 8 || AllBlank(p, length)) return "";
      return FormatJulian(static_cast<std::int32_t>(LittleEndian(u, 4)),
                          static_cast<std::int32_t>(LittleEndian(u + 4, 4)));
    case '@': {
      if (length != 8 || AllBlank(p, length)) return "";
      // Milliseconds since 1 January of year 1, counted from day 1721426 of the Julian days.
      const double ms = DoubleFromBits(UnflipDbase7(BigEndian(u, 8), 8));
      if (!(ms >= 0 && ms < 1e15)) return "";
      const auto whole = static_cast<std::int64_t>(ms);
      return FormatJulian(1721425 + whole / 86400000, whole % 86400000);
    }
    case 'M':
    case 'G':
    case 'P':
    case 'W':
    case '0':
      return "";
    default:
      break;
  }
  return std::string(TrimmedText(p, length));
}

bool ReadsAs(const DbfField& field, DbfFamily family, const char* record, std::string_view value) {
  if (field.type == 'C') return TrimmedText(record + field.offset, field.length) == value;
  return ReadText(field, family, record) == value;
}

std::int64_t ReadInt(const DbfField& field, DbfFamily family, const char* record) {
  const std::string text = ReadText(field, family, record);
  if (text.empty()) return 0;
  switch (field.type) {
    case 'N':
    case 'F':
    case 'O':
    case 'B':
    case 'Y': {
      double value = 0;
      if (!ParseDecimal(text, value)) throw NotAnInteger(text);
      return static_cast<std::int64_t>(std::llround(value));
    }
    case 'I':
    case '+':
      // A damaged field can read as text that is no number at all: that is the
      // table's fault, reported as such, never a library error.
      try {
        return std::stoll(text);
      } catch (const std::logic_error&) {
        throw NotAnInteger(text);
      }
    case 'L':
      return text == "T" ? 1 : 0;
    default:
      return ParseInteger(text);
  }
}

double ReadFloat(const DbfField& field, DbfFamily family, const char* record) {
  const std::string text = ReadText(field, family, record);
  if (text.empty()) return 0;
  if (field.type == 'L') return text == "T" ? 1 : 0;
  double value = 0;
  if (!ParseDecimal(text, value)) throw NotAFloat(text);
  return value;
}

void StoreText(const DbfField& field, char* record, std::string_view value) {
  switch (field.type) {
    case 'C':
    case 'D':
      Fill(field, record, value, false);
      return;
    case 'N':
    case 'F':
      if (value.empty()) {
        Fill(field, record, "", false);
      } else if (field.decimals == 0) {
        StoreInt(field, record, ParseInteger(std::string(value)));
      } else {
        double number = 0;
        if (!ParseDecimal(value, number)) throw NotAFloat(value);
        StoreFloat(field, record, number);
      }
      return;
    case 'L':
      if (value.empty()) {
        record[field.offset] = ' ';
      } else if (value == "T" || value == "t" || value == "Y" || value == "y" || value == "TRUE" ||
                 value == "True" || value == "true") {
        record[field.offset] = 'T';
      } else if (value == "F" || value == "f" || value == "N" || value == "n" || value == "FALSE" ||
                 value == "False" || value == "false") {
        record[field.offset] = 'F';
      } else {
        throw NotALogical(value);
      }
      return;
    default:
      throw NotWritable(field);
  }
}

void StoreInt(const DbfField& field, char* record, std::int64_t value) {
  switch (field.type) {
    case 'C':
      Fill(field, record, std::to_string(value), false);
      return;
    case 'N':
    case 'F': {
      if (field.decimals > 0) {
        StoreFloat(field, record, static_cast<double>(value));
        return;
      }
      const std::string text = std::to_string(value);
      if (text.size() > static_cast<std::size_t>(field.length)) throw DoesNotFit(text, field);
      Fill(field, record, text, true);
      return;
    }
    case 'L':
      record[field.offset] = value != 0 ? 'T' : 'F';
      return;
    default:
      throw NotWritable(field);
  }
}

void StoreFloat(const DbfField& field, char* record, double value) {
  if (std::isnan(value) || std::isinf(value)) throw NotAFloat(FormatDouble(value));
  switch (field.type) {
    case 'C':
      Fill(field, record, FormatDouble(value), false);
      return;
    case 'N':
    case 'F': {
      if (field.decimals == 0) {
        if (std::fabs(value) >= 9.2e18) throw DoesNotFit(FormatDouble(value), field);
        StoreInt(field, record, std::llround(value));
        return;
      }
      char text[400];
      char* end = text;
      std::errc error = std::errc();
      if (value == std::floor(value) && std::fabs(value) < 1e15) {
        // Whole numbers, the usual case, without the general formatting.
        end = std::to_chars(text, text + 32, static_cast<std::int64_t>(value)).ptr;
        *end++ = '.';
        end = std::fill_n(end, field.decimals, '0');
      } else {
        const auto formatted = std::to_chars(text, text + sizeof text, value,
                                             std::chars_format::fixed, field.decimals);
        end = formatted.ptr;
        error = formatted.ec;
      }
      const auto size = static_cast<std::size_t>(end - text);
      if (error != std::errc() || size > static_cast<std::size_t>(field.length)) {
        throw DoesNotFit(FormatDouble(value), field);
      }
      Fill(field, record, std::string_view(text, size), true);
      return;
    }
    case 'L':
      record[field.offset] = value != 0 ? 'T' : 'F';
      return;
    default:
      throw NotWritable(field);
  }
}

void StoreBool(const DbfField& field, char* record, bool value) {
  switch (field.type) {
    case 'C':
    case 'L':
      Fill(field, record, value ? "T" : "F", false);
      return;
    case 'N':
    case 'F':
      StoreInt(field, record, value ? 1 : 0);
      return;
    default:
      throw NotWritable(field);
  }
}

}  // namespace tv::worktables
