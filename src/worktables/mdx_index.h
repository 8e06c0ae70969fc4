// The production index file (.MDX) of a table, in the dBase IV layout: a 2048-byte
// file header with the tag table, then for each tag a header block and a B-tree of
// 1024-byte blocks (page numbers count 512-byte pages). Keys are ascending and not
// unique; equal keys keep the order of their rows. Character fields are keyed by
// their bytes, numeric fields (N, F) by dBase IV's 12-byte decimal key: byte 0 is 52
// plus the number of digits before the decimal point, byte 1 holds the sign (0x80),
// the count of digits (bits 2 to 6) and a 1 in bit 0, bytes 2 to 11 the digits, two
// to a byte, the first in the high half. The whole file is written anew each time.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "worktables/dbf_header.h"
#include "worktables/table.h"

namespace tv::worktables {

struct MdxTagKeys {
  std::string name;
  DbfField field;
  // The field's stored bytes of every row, in row order (row n is record n + 1).
  std::vector<std::string> keys;
};

// Writes the index file with these tags for the table file named `table_name`.
void WriteMdx(const std::filesystem::path& path, const std::string& table_name,
              const std::vector<MdxTagKeys>& tags);

// The tags of an index file: their names and key expressions (the field names).
// Throws RunError naming the file when it cannot be read as an index.
std::vector<IndexDef> ReadMdxTags(const std::filesystem::path& path);

// The 12-byte numeric key of a stored numeric text ("" and blanks key as 0).
std::string NumericKey(std::string_view stored);

}  // namespace tv::worktables
