// A file written beside its target and moved over it once complete: a failure never
// leaves a half-written target, and an earlier file of that name stays until the new one
// is whole.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tv::xml {

class ReplacingFile {
 public:
  // Creates the temporary file beside `target`. Throws RunError naming the target.
  explicit ReplacingFile(std::filesystem::path target);
  // Removes the temporary file unless Commit moved it over the target.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Throws RunError naming the target when the bytes cannot be written.
  void Write(std::string_view bytes);
  // Closes the temporary file and moves it over the target.
  void Commit();

 private:
  [[noreturn]] void Fail();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream out_;
  bool committed_ = false;
};

}  // namespace tv::xml
