#include "worktables/dbf_records.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "util/run_error.h"

namespace tv::worktables {

namespace {

// Appended rows are held back until this many bytes are waiting, then written at once.
constexpr std::size_t kAppendBufferBytes = std::size_t{1} << 20;
// Rows are read from the file in chunks of about this size.
constexpr std::size_t kReadChunkBytes = std::size_t{1} << 18;

}  // namespace

void SetToday(DbfHeader& header) {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  header.year = local ? local->tm_year + 1900 : 2000;
  header.month = local ? local->tm_mon + 1 : 1;
  header.day = local ? local->tm_mday : 1;
}

DbfRecords::DbfRecords(env::TableFile file, DbfHeader header, std::string file_text)
    : file_(std::move(file)), header_(std::move(header)), file_text_(std::move(file_text)) {
  file_rows_ = total_ = header_.record_count;
}

DbfRecords DbfRecords::Open(const std::filesystem::path& path, env::ShareMode mode) {
  env::TableFile file = env::TableFile::Open(path, mode);
  std::string file_text = env::PathText(path);
  const std::uint64_t size = file.Size();
  std::string bytes(kDbfFixedSize, '\0');
  bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
  const std::uint32_t header_length = StoredHeaderLength(bytes);
  if (bytes.size() == kDbfFixedSize && header_length > kDbfFixedSize && header_length <= size) {
    bytes.resize(header_length);
    bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
  }
  DbfHeader header = ParseDbfHeader(bytes, size, file_text);
  return DbfRecords(std::move(file), std::move(header), std::move(file_text));
}

void DbfRecords::LoadCache(std::uint64_t index) {
  const std::uint64_t length = header_.record_length;
  const std::uint64_t per_chunk = std::max<std::uint64_t>(1, kReadChunkBytes / length);
  const std::uint64_t count = std::min(per_chunk, file_rows_ - index);
  cache_.resize(static_cast<std::size_t>(count * length));
  cache_count_ = 0;
  const std::size_t got =
      file_.ReadAt(header_.header_length + index * length, cache_.data(), cache_.size());
  if (got != cache_.size()) {
    // "último" in code page 1252.
    throw RunError("La tabla " + file_text_ + " termina antes de su \xFAltimo registro");
  }
  cache_first_ = index;
  cache_count_ = count;
}

const char* DbfRecords::Record(std::uint64_t index) {
  if (index >= file_rows_) {
    return append_buffer_.data() + (index - file_rows_) * header_.record_length;
  }
  if (index < cache_first_ || index >= cache_first_ + cache_count_) LoadCache(index);
  return cache_.data() + (index - cache_first_) * header_.record_length;
}

void DbfRecords::Append(std::string_view row) {
  if (append_buffer_.size() + row.size() > kAppendBufferBytes) FlushAppends();
  append_buffer_.append(row);
  ++total_;
  modified_ = true;
}

void DbfRecords::Replace(std::uint64_t index, std::string_view row) {
  const std::uint64_t length = header_.record_length;
  if (index >= file_rows_) {
    std::memcpy(append_buffer_.data() + (index - file_rows_) * length, row.data(), length);
  } else {
    file_.WriteAt(header_.header_length + index * length, row.data(), length);
    if (index >= cache_first_ && index < cache_first_ + cache_count_) {
      std::memcpy(cache_.data() + (index - cache_first_) * length, row.data(), length);
    }
  }
  modified_ = true;
}

void DbfRecords::FlushAppends() {
  if (append_buffer_.empty()) return;
  append_buffer_.push_back(static_cast<char>(kDbfEndOfFile));
  file_.WriteAt(header_.header_length + file_rows_ * header_.record_length, append_buffer_.data(),
                append_buffer_.size());
  file_rows_ = total_;
  append_buffer_.clear();
  WriteDateAndCount();
}

void DbfRecords::WriteDateAndCount() {
  header_.record_count = static_cast<std::uint32_t>(total_);
  SetToday(header_);
  const std::string date_count = DateAndCountBytes(header_);
  file_.WriteAt(kDbfDateOffset, date_count.data(), date_count.size());
}

void DbfRecords::Finish() {
  FlushAppends();
  const std::uint64_t data_end =
      header_.header_length + total_ * std::uint64_t{header_.record_length};
  const char end_mark = static_cast<char>(kDbfEndOfFile);
  file_.WriteAt(data_end, &end_mark, 1);
  file_.Truncate(data_end + 1);
  WriteDateAndCount();
}

void DbfRecords::Close() noexcept {
  file_.Close();
  append_buffer_.clear();
  append_buffer_.shrink_to_fit();
  cache_.clear();
  cache_.shrink_to_fit();
  cache_count_ = 0;
}

}  // namespace tv::worktables
