#include "report/report_file.h"

#include "exchange/replacing_file.h"
#include "report/report_json.h"
#include "report/report_text.h"
#include "util/env.h"
#include "util/run_error.h"
#include "util/text.h"

namespace tv {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void CannotWrite(const fs::path& file, const std::string& why) {
  throw RunError("No se puede escribir el informe " + env::PathText(file) + why);
}

}  // namespace

void WriteReportFile(const fs::path& file, const ReportSource& source, const RunReport& report) {
  const bool json = UpperAscii(file.extension().string()) == ".JSON";
  const std::string bytes =
      json ? ReportJson(source, report) : "\xEF\xBB\xBF" + ReportText(source, report);
  if (file.filename().empty()) CannotWrite(file, ": falta el nombre del archivo.");
  std::error_code ec;
  if (fs::is_directory(file, ec)) CannotWrite(file, ": es una carpeta.");
  try {
    xml::ReplacingFile out(file);
    out.Write(bytes);
    out.Commit();
  } catch (const RunError&) {
    CannotWrite(file, ".");
  }
}

}  // namespace tv
