// A school small enough that a test can run every file operation of its export one by one,
// and the plain file reading and writing that such tests do.
#pragma once

#include <filesystem>
#include <string>

namespace tv::testing_support {

// The exchange file (UTF-8) of a school with one course, group and frame. The second
// variant has another teacher and room and renames a subject, so every table differs.
std::string SmallSchool(int variant);

// The bytes of a file (none when it cannot be read), and a file made of `content`.
std::string Read(const std::filesystem::path& file);
void Write(const std::filesystem::path& file, const std::string& content);

}  // namespace tv::testing_support
