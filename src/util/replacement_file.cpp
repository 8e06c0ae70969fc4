#include "util/replacement_file.h"

#include <random>
#include <sstream>
#include <string>

#include "util/run_error.h"

namespace tv {

namespace fs = std::filesystem;

bool ReplacementFile::IsTemporaryName(std::string_view name, std::string_view target_name) {
  const std::string prefix = std::string(target_name) + ".tmp";
  if (name.size() < prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
  for (char c : name.substr(prefix.size())) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  return true;
}

void ReplacementFile::ClearLeftovers(const fs::path& target) {
  const std::string target_name = target.filename().string();
  for (const fs::path& file : env::FolderFiles(target.parent_path())) {
    if (IsTemporaryName(file.filename().string(), target_name)) env::RemoveFile(file);
  }
}

ReplacementFile::ReplacementFile(fs::path target) : target_(std::move(target)) {
  std::random_device random;
  std::ostringstream suffix;
  suffix << ".tmp" << std::hex << random();
  temporary_ = target_;
  temporary_ += suffix.str();
  file_ = env::TableFile::Create(temporary_);
}

ReplacementFile::~ReplacementFile() {
  if (committed_) return;
  file_.Close();
  try {
    env::RemoveFile(temporary_);
  } catch (const std::exception&) {
    // The next writer of the target clears it.
  }
}

void ReplacementFile::Append(std::string_view bytes) {
  file_.WriteAt(size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

void ReplacementFile::Commit() {
  file_.Sync();
  file_.Close();
  env::ReplaceFile(temporary_, target_);
  committed_ = true;
}

}  // namespace tv
