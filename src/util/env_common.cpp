// The parts of the operating-system seam that are the same on every system.
#include "util/env.h"
#include "util/run_error.h"

namespace tv::env {

std::string FileKindText(FileKind kind) {
  switch (kind) {
    case FileKind::kMissing:
      return "un archivo que no existe";
    case FileKind::kRegularFile:
      return "un archivo";
    case FileKind::kDirectory:
      return "una carpeta";
    case FileKind::kPipe:
      // "tubería" in code page 1252.
      return "una tuber\xED"
             "a con nombre (FIFO)";
    case FileKind::kDevice:
      return "un dispositivo";
    case FileKind::kOther:
      break;
  }
  return "algo que no es un archivo";
}

void RequireReadableFile(const std::filesystem::path& path) {
  const FileKind kind = KindOfFile(path);
  if (kind == FileKind::kRegularFile || kind == FileKind::kMissing) return;
  throw RunError("No se puede leer " + PathText(path) + ": es " + FileKindText(kind) +
                 ", no un archivo.");
}

}  // namespace tv::env
