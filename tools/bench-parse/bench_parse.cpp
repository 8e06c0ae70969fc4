// bench-parse [--scales 1,10,100] [--folder DIR] [FILE...]: loads exchange files and
// prints their size, the load time and the throughput, then the time to read every
// record field of every data block the export reads. Without files it makes the schools
// of the given scales with make-school (beside this program) in the folder, once.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "exchange/block_reader.h"
#include "exchange/xml_document.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace fs = std::filesystem;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(const fs::path& file) {
  const double megabytes = static_cast<double>(fs::file_size(file)) / (1024.0 * 1024.0);
  auto start = std::chrono::steady_clock::now();
  const tv::xml::Document document = tv::xml::Document::Load(file);
  const double load = SecondsSince(start);

  start = std::chrono::steady_clock::now();
  std::size_t records = 0, bytes = 0;
  for (const std::string& block : tv::kBlockCatalogue) {
    for (const tv::xml::Node& record : tv::SelectBlockRecords(document, block)) {
      const tv::RecordFieldList fields = tv::RecordFields(record);
      for (std::size_t i = 0; i < fields.size(); ++i) bytes += tv::FieldText(fields, i).size();
      ++records;
    }
  }
  const double walk = SecondsSince(start);
  std::printf("%-28s %9.1f MB  load %7.3f s  %7.1f MB/s  read %8zu records %7.3f s\n",
              file.filename().string().c_str(), megabytes, load, megabytes / load, records, walk);
  std::fflush(stdout);
  (void)bytes;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Measures how fast exchange files load", "bench-parse"};
  std::vector<int> scales = {1, 10, 100};
  std::string folder = (fs::temp_directory_path() / "transvelor-bench").string();
  std::vector<std::string> files;
  app.add_option("--scales", scales, "Scales of the synthetic schools")->delimiter(',');
  app.add_option("--folder", folder, "Where the synthetic schools are kept");
  app.add_option("files", files, "Exchange files to load instead");
  CLI11_PARSE(app, argc, argv);

  try {
    if (files.empty()) {
      fs::create_directories(folder);
      const fs::path maker = tv::env::ProgramFolder() / "make-school";
      for (const int scale : scales) {
        const fs::path file = fs::path(folder) / ("school-" + std::to_string(scale) + ".xml");
        if (!fs::exists(file)) {
          const std::string command = "\"" + maker.string() + "\" --scale " +
                                      std::to_string(scale) + " --output \"" + file.string() + "\"";
          if (std::system(command.c_str()) != 0) {
            std::cerr << "bench-parse: make-school failed for scale " << scale << "\n";
            return 1;
          }
        }
        files.push_back(file.string());
      }
    }
    for (const std::string& file : files) Measure(file);
  } catch (const tv::RunError& error) {
    std::cerr << "bench-parse: " << tv::Cp1252ToUtf8(error.message()) << "\n";
    return 1;
  }
  return 0;
}
