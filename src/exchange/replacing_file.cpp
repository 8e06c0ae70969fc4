#include "exchange/replacing_file.h"

#include "util/env.h"
#include "util/run_error.h"

namespace tv::xml {

namespace fs = std::filesystem;

namespace {

// The target's name first, then what the system said of the file it failed on.
template <typename Step>
auto NamingTarget(const fs::path& target, Step step) {
  try {
    return step();
  } catch (const RunError& error) {
    throw RunError("No se puede escribir el archivo " + env::PathText(target) + ". " +
                   error.message());
  }
}

}  // namespace

ReplacingFile::ReplacingFile(fs::path target) try : target_(target), file_(target_) {
} catch (const RunError& error) {
  throw RunError("No se puede escribir el archivo " + env::PathText(target) + ". " +
                 error.message());
}

void ReplacingFile::Write(std::string_view bytes) {
  NamingTarget(target_, [&] { file_.Append(bytes); });
}

void ReplacingFile::Commit() {
  NamingTarget(target_, [&] { file_.Commit(); });
}

}  // namespace tv::xml
