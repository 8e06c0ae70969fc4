// The rows of an open .DBF file. Rows are read in chunks of about 256 KB through a cache;
// appended rows wait in a buffer that is written once it holds about 1 MB; a changed row
// is written in place at once. Each time the buffer is written, the end mark, the row
// count and the date in the header follow, so the file is a whole table at every flush,
// not only once Finish has run. All file access goes through env::TableFile.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "util/env.h"
#include "worktables/dbf_header.h"

namespace tv::worktables {

class DbfRecords {
 public:
  // Opens the table file with the sharing lock of `mode` and reads its header. Throws
  // RunError naming the file when it cannot be opened or is damaged.
  static DbfRecords Open(const std::filesystem::path& path, env::ShareMode mode);

  const DbfHeader& Header() const { return header_; }
  const std::filesystem::path& Path() const { return file_.Path(); }
  // The path as a text for messages.
  const std::string& FileText() const { return file_text_; }
  bool Writable() const { return file_.Writable(); }
  bool Modified() const { return modified_; }

  // The number of rows, those still waiting in the buffer included.
  std::uint64_t Count() const { return total_; }
  // The bytes of row `index` (below Count()), valid until the next non-const call.
  const char* Record(std::uint64_t index);
  // Adds a row of the header's record length at the end.
  void Append(std::string_view row);
  // Replaces row `index` (below Count()).
  void Replace(std::uint64_t index, std::string_view row);
  // After changes: writes the waiting rows and leaves the file ending right after the
  // end mark, with the count and today's date in the header.
  void Finish();
  // Releases the file and the buffers, without writing. Never throws.
  void Close() noexcept;

 private:
  DbfRecords(env::TableFile file, DbfHeader header, std::string file_text);
  void LoadCache(std::uint64_t index);
  void FlushAppends();
  void WriteDateAndCount();

  env::TableFile file_;
  DbfHeader header_;
  std::string file_text_;
  std::uint64_t file_rows_ = 0;  // rows in the file
  std::uint64_t total_ = 0;      // and rows waiting in the append buffer
  std::string append_buffer_;
  std::uint64_t cache_first_ = 0;
  std::uint64_t cache_count_ = 0;
  std::string cache_;
  bool modified_ = false;
};

// Today's local date into the header.
void SetToday(DbfHeader& header);

}  // namespace tv::worktables
