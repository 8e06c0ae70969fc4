#include "exchange/replacing_file.h"

#include <random>
#include <sstream>
#include <system_error>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::xml {

namespace fs = std::filesystem;

ReplacingFile::ReplacingFile(fs::path target) : target_(std::move(target)) {
  std::random_device random;
  std::ostringstream suffix;
  suffix << ".tmp" << std::hex << random();
  temporary_ = target_;
  temporary_ += suffix.str();
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!out_) Fail();
}

ReplacingFile::~ReplacingFile() {
  if (committed_) return;
  out_.close();
  std::error_code ignored;
  fs::remove(temporary_, ignored);
}

void ReplacingFile::Fail() {
  throw RunError("No se puede escribir el archivo " + env::PathText(target_) + ".");
}

void ReplacingFile::Write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) Fail();
}

void ReplacingFile::Commit() {
  out_.close();
  if (!out_) Fail();
  env::ReplaceFile(temporary_, target_);
  committed_ = true;
}

}  // namespace tv::xml
