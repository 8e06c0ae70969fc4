// The header of a .DBF file: the fixed part, the field descriptors and the terminator.
// Parsing accepts dBase III, IV and 5 (32-byte descriptors), dBase 7 (48-byte
// descriptors after a 68-byte fixed part) and FoxPro / Visual FoxPro (the backlink area
// after the terminator is covered by the header length); it checks every length against
// the file so that a damaged file is refused before any row is read. Building writes
// dBase IV (version 0x03), or dBase 7 (version 0x04) when a field name does not fit
// the 10 characters of dBase IV.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv::worktables {

enum class DbfFamily { kDbase, kDbase7, kFoxPro, kVisualFoxPro };

struct DbfField {
  std::string name;  // as stored, without padding
  char type = 'C';
  int length = 0;
  int decimals = 0;
  int offset = 0;        // from the start of the record (the deletion mark is byte 0)
  bool indexed = false;  // has a tag in the production index
};

struct DbfHeader {
  std::uint8_t version = 0x03;
  int year = 0;  // full year
  int month = 1;
  int day = 1;
  std::uint32_t record_count = 0;
  // Whole rows the file holds after the counted ones (read only: a writer that did not
  // count them). Like every dBase reader, ours reads only the counted rows.
  std::uint64_t uncounted_rows = 0;
  std::uint32_t header_length = 0;
  std::uint32_t record_length = 0;
  bool production_index = false;
  std::uint8_t language_driver = 0x57;  // Windows ANSI, code page 1252
  DbfFamily family = DbfFamily::kDbase;
  std::vector<DbfField> fields;
};

// Byte counts of the fixed part that a reader needs before it knows the header length.
constexpr std::size_t kDbfFixedSize = 32;
// Where the record count and date sit, for updating them in place.
constexpr std::size_t kDbfDateOffset = 1;
constexpr std::uint8_t kDbfTerminator = 0x0D;
constexpr std::uint8_t kDbfEndOfFile = 0x1A;

// The header length stored in the fixed part (the first kDbfFixedSize bytes).
std::uint32_t StoredHeaderLength(std::string_view fixed);

// Parses the whole header (`bytes` holds the header length's bytes, or the whole file
// when shorter) of a file of `file_size` bytes. Throws RunError naming `file_text` when
// the version is unknown or the lengths do not match each other or the file.
DbfHeader ParseDbfHeader(std::string_view bytes, std::uint64_t file_size,
                         const std::string& file_text);

// Builds the header bytes of `header` for writing, computing the field offsets, the
// header length and the record length into it. dBase 7 when any name exceeds 10
// characters (then version 0x04), dBase IV (0x03) otherwise.
std::string BuildDbfHeader(DbfHeader& header);

// The 7 bytes of the date and record count (offsets 1 to 7) for an update in place.
std::string DateAndCountBytes(const DbfHeader& header);

}  // namespace tv::worktables
