// A file written beside its target and moved over it once complete: a failure never
// leaves a half-written target, and an earlier file of that name stays until the new one
// is whole. The writing itself is the util's ReplacementFile (through the file seam, made
// durable before the move); this adds the exchange file's own messages.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "util/replacement_file.h"

namespace tv::xml {

class ReplacingFile {
 public:
  // Creates the temporary file beside `target`. Throws RunError naming the target.
  explicit ReplacingFile(std::filesystem::path target);
  // Removes the temporary file unless Commit moved it over the target.
  ~ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Throws RunError naming the target when the bytes cannot be written.
  void Write(std::string_view bytes);
  // Makes the temporary file durable and moves it over the target.
  void Commit();

 private:
  std::filesystem::path target_;
  ReplacementFile file_;
};

}  // namespace tv::xml
