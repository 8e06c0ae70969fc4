// A file that is written whole beside its final name and then moved over it in one step,
// so that a reader, a kill or a failed write never leaves it half written: the file is the
// old one or the new one. What an interrupted writer left beside it (its temporary files,
// "<name>.tmp" and a hexadecimal number) is cleared by the next writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "util/env.h"

namespace tv {

class ReplacementFile {
 public:
  // Removes the temporary files of `target` that an interrupted writer left. Throws
  // RunError naming the file when one cannot be removed.
  static void ClearLeftovers(const std::filesystem::path& target);
  // Whether `name` is the name of a temporary file of a file named `target_name`.
  static bool IsTemporaryName(std::string_view name, std::string_view target_name);

  // Creates the temporary file beside `target`. Throws RunError naming it on failure.
  explicit ReplacementFile(std::filesystem::path target);
  // Removes the temporary file unless it was committed; never throws.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  const std::filesystem::path& TemporaryPath() const { return temporary_; }
  // Adds bytes at the end of the new content.
  void Append(std::string_view bytes);
  // Makes the new content durable and moves it over the target in one step.
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  env::TableFile file_;
  std::uint64_t size_ = 0;
  bool committed_ = false;
};

}  // namespace tv
