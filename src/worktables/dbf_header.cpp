#include "worktables/dbf_header.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "util/run_error.h"

namespace tv::worktables {

namespace {

constexpr std::size_t kDbase7FixedSize = 68;
constexpr std::size_t kDescriptorSize = 32;
constexpr std::size_t kDbase7DescriptorSize = 48;
constexpr std::size_t kShortNameLength = 10;
constexpr std::size_t kLongNameLength = 31;

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t Little16(std::string_view bytes, std::size_t at) {
  return Byte(bytes, at) | (Byte(bytes, at + 1) << 8);
}

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
  return Little16(bytes, at) | (Little16(bytes, at + 2) << 16);
}

void PutLittle(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

[[noreturn]] void Damaged(const std::string& file_text, const std::string& reason) {
  // "está dañada" in code page 1252.
  throw RunError("La tabla " + file_text +
                 " est\xE1 da\xF1"
                 "ada: " +
                 reason);
}

bool FamilyOf(std::uint8_t version, DbfFamily& family) {
  switch (version) {
    case 0x03:  // dBase III, IV, 5 without memo
    case 0x83:  // dBase III with memo
    case 0x8B:  // dBase IV with memo
    case 0x8E:  // dBase IV with SQL table
    case 0x43:
    case 0x63:
    case 0xCB:
      family = DbfFamily::kDbase;
      return true;
    case 0x04:  // dBase 7
    case 0x8C:  // dBase 7 with memo
      family = DbfFamily::kDbase7;
      return true;
    case 0xF5:  // FoxPro 2 with memo
    case 0xFB:
      family = DbfFamily::kFoxPro;
      return true;
    case 0x30:  // Visual FoxPro
    case 0x31:  // Visual FoxPro with autoincrement
    case 0x32:  // Visual FoxPro with varchar or varbinary
      family = DbfFamily::kVisualFoxPro;
      return true;
    default:
      return false;
  }
}

std::string StoredName(std::string_view raw) {
  std::size_t end = 0;
  while (end < raw.size() && raw[end] != '\0') ++end;
  while (end > 0 && raw[end - 1] == ' ') --end;
  return std::string(raw.substr(0, end));
}

// Whether the bytes of the header after the terminator (at `end`) belong there: none;
// zeros, as some dBase III writers leave; Visual FoxPro's 263-byte backlink; or dBase 7's
// field properties. A header length that reaches into the first row (its deletion mark)
// would shift every field of every row.
bool HeaderEndFits(std::string_view header, std::size_t end, DbfFamily family) {
  constexpr std::size_t kBacklinkSize = 263;
  if (end >= header.size()) return true;
  const std::string_view rest = header.substr(end);
  if (rest.find_first_not_of('\0') == std::string_view::npos) return true;
  if (family == DbfFamily::kDbase7) return true;
  return (family == DbfFamily::kVisualFoxPro || family == DbfFamily::kFoxPro) &&
         rest.size() == kBacklinkSize;
}

}  // namespace

std::uint32_t StoredHeaderLength(std::string_view fixed) {
  return fixed.size() < 12 ? 0 : Little16(fixed, 8);
}

DbfHeader ParseDbfHeader(std::string_view bytes, std::uint64_t file_size,
                         const std::string& file_text) {
  if (file_size < kDbfFixedSize || bytes.size() < kDbfFixedSize) {
    Damaged(file_text, "el archivo es demasiado corto para ser una tabla dBase");
  }
  DbfHeader header;
  header.version = static_cast<std::uint8_t>(Byte(bytes, 0));
  if (!FamilyOf(header.version, header.family)) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", header.version);
    Damaged(file_text, std::string("versi\xF3n de dBase desconocida (") + text + ")");
  }
  const unsigned year = Byte(bytes, 1);
  header.year = static_cast<int>(year < 80 ? 2000 + year : 1900 + year);
  header.month = static_cast<int>(Byte(bytes, 2));
  header.day = static_cast<int>(Byte(bytes, 3));
  header.record_count = Little32(bytes, 4);
  header.header_length = Little16(bytes, 8);
  header.record_length = Little16(bytes, 10);
  header.production_index = Byte(bytes, 28) != 0;
  header.language_driver = static_cast<std::uint8_t>(Byte(bytes, 29));

  const bool dbase7 = header.family == DbfFamily::kDbase7;
  const std::size_t fixed_size = dbase7 ? kDbase7FixedSize : kDbfFixedSize;
  const std::size_t descriptor_size = dbase7 ? kDbase7DescriptorSize : kDescriptorSize;
  if (header.header_length < fixed_size + 1 || header.header_length > file_size ||
      header.header_length > bytes.size()) {
    Damaged(file_text, "la longitud de la cabecera no corresponde al archivo");
  }

  std::size_t at = fixed_size;
  bool terminated = false;
  int offset = 1;
  while (at < header.header_length) {
    if (Byte(bytes, at) == kDbfTerminator) {
      terminated = true;
      break;
    }
    if (at + descriptor_size > header.header_length) break;
    const std::string_view d = bytes.substr(at, descriptor_size);
    DbfField field;
    if (dbase7) {
      field.name = StoredName(d.substr(0, 32));
      field.type = d[32];
      field.length = static_cast<int>(Byte(d, 33));
      field.decimals = static_cast<int>(Byte(d, 34));
      field.indexed = Byte(d, 37) != 0;
    } else {
      field.name = StoredName(d.substr(0, 11));
      field.type = d[11];
      field.length = static_cast<int>(Byte(d, 16));
      field.decimals = static_cast<int>(Byte(d, 17));
      field.indexed = header.family == DbfFamily::kDbase && Byte(d, 31) != 0;
      // FoxPro and Clipper keep wide character fields' high length byte in the decimals.
      if (field.type == 'C' && field.decimals != 0) {
        field.length += field.decimals * 256;
        field.decimals = 0;
      }
    }
    if (field.length <= 0) {
      Damaged(file_text, "el campo " + field.name + " tiene longitud cero");
    }
    field.offset = offset;
    offset += field.length;
    header.fields.push_back(std::move(field));
    at += descriptor_size;
  }
  // Some writers fill the header with descriptors exactly and leave the terminator out.
  if (!terminated && at == header.header_length) terminated = true;
  if (!terminated || header.fields.empty()) {
    Damaged(file_text, "la lista de campos de la cabecera no est\xE1 completa");
  }
  if (!HeaderEndFits(bytes.substr(0, header.header_length), at + 1, header.family)) {
    Damaged(file_text, "la longitud de la cabecera (" + std::to_string(header.header_length) +
                           " bytes) no corresponde a su lista de campos");
  }
  if (static_cast<std::uint32_t>(offset) != header.record_length) {
    Damaged(file_text,
            "la longitud de registro no corresponde a la suma de las longitudes de los campos");
  }
  const std::uint64_t data_end =
      std::uint64_t{header.header_length} +
      std::uint64_t{header.record_count} * std::uint64_t{header.record_length};
  if (data_end > file_size) {
    Damaged(file_text, "el n\xFAmero de registros de la cabecera excede el final del archivo");
  }
  // After the counted rows the file may hold the end mark, and whole rows a writer added
  // without counting them; anything else means the header does not describe this file.
  const std::uint64_t after = file_size - data_end;
  if (after % header.record_length > 1) {
    Damaged(file_text, "su tama\xF1o (" + std::to_string(file_size) +
                           " bytes) no corresponde a la longitud de sus registros");
  }
  header.uncounted_rows = after / header.record_length;
  return header;
}

std::string BuildDbfHeader(DbfHeader& header) {
  bool long_names = false;
  for (const DbfField& field : header.fields) {
    if (field.name.size() > kShortNameLength) long_names = true;
  }
  const bool dbase7 = long_names;
  header.family = dbase7 ? DbfFamily::kDbase7 : DbfFamily::kDbase;
  header.version = dbase7 ? 0x04 : 0x03;
  const std::size_t fixed_size = dbase7 ? kDbase7FixedSize : kDbfFixedSize;
  const std::size_t descriptor_size = dbase7 ? kDbase7DescriptorSize : kDescriptorSize;
  header.header_length =
      static_cast<std::uint32_t>(fixed_size + descriptor_size * header.fields.size() + 1);
  int offset = 1;
  for (DbfField& field : header.fields) {
    field.offset = offset;
    offset += field.length;
  }
  header.record_length = static_cast<std::uint32_t>(offset);

  std::string out(header.header_length, '\0');
  out[0] = static_cast<char>(header.version);
  const std::string date_count = DateAndCountBytes(header);
  out.replace(kDbfDateOffset, date_count.size(), date_count);
  PutLittle(out, 8, header.header_length, 2);
  PutLittle(out, 10, header.record_length, 2);
  out[28] = header.production_index ? 1 : 0;
  out[29] = static_cast<char>(header.language_driver);
  if (dbase7) {
    // The language driver's name: Windows ANSI, Western Europe.
    const char name[] = "DBWINWE0";
    std::memcpy(&out[32], name, sizeof name - 1);
  }
  std::size_t at = fixed_size;
  for (const DbfField& field : header.fields) {
    const std::size_t name_room = dbase7 ? kLongNameLength : kShortNameLength;
    out.replace(at, std::min(field.name.size(), name_room), field.name, 0, name_room);
    if (dbase7) {
      out[at + 32] = field.type;
      out[at + 33] = static_cast<char>(field.length);
      out[at + 34] = static_cast<char>(field.decimals);
      out[at + 37] = field.indexed ? 1 : 0;
    } else {
      out[at + 11] = field.type;
      out[at + 16] = static_cast<char>(field.length);
      out[at + 17] = static_cast<char>(field.decimals);
      out[at + 31] = field.indexed ? 1 : 0;
    }
    at += descriptor_size;
  }
  out[at] = static_cast<char>(kDbfTerminator);
  return out;
}

std::string DateAndCountBytes(const DbfHeader& header) {
  std::string out(7, '\0');
  out[0] = static_cast<char>((header.year - 1900) & 0xFF);
  out[1] = static_cast<char>(header.month);
  out[2] = static_cast<char>(header.day);
  PutLittle(out, 3, header.record_count, 4);
  return out;
}

}  // namespace tv::worktables
