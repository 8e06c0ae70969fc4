// bench-tables [ROWS] [FOLDER]: appends ROWS rows (1,000,000 by default) of the
// teaching-load schema to a work table in FOLDER (a fresh temporary folder by default),
// reads them back by scanning with GetText by field position, and writes the same number
// of bytes with plain buffered writes. Prints rows per second and the ratio of the
// append time to the plain writes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "util/run_error.h"
#include "worktables/table.h"
#include "worktables/work_folder.h"

using namespace tv::worktables;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// The processor time of this process (user and system), steadier than the clock on a
// busy machine.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

std::vector<FieldDef> TeachingLoadFields() {
  return {{"CASIG", FieldType::kCharacter, 10},      {"CPROF", FieldType::kCharacter, 10},
          {"CGRUP", FieldType::kCharacter, 10},      {"CAULA", FieldType::kCharacter, 10},
          {"TURNO", FieldType::kCharacter, 1},       {"NIVEL", FieldType::kCharacter, 5},
          {"CURSO", FieldType::kCharacter, 3},       {"GRUPO", FieldType::kCharacter, 2},
          {"HORAS", FieldType::kFloat, 0},           {"SESIONES", FieldType::kCharacter, 20},
          {"NCONEX", FieldType::kCharacter, 4},      {"CLAVE", FieldType::kCharacter, 10},
          {"CLAVECURSO", FieldType::kCharacter, 10}, {"CTAREA", FieldType::kCharacter, 10}};
}

int Run(long rows, const fs::path& folder) {
  WorkFolder work(folder);
  work.RecreateWorkTable("ASIGT", TeachingLoadFields());

  const auto append_start = Clock::now();
  const double append_cpu_start = CpuSeconds();
  {
    Table table = work.OpenWorkTable("ASIGT");
    for (long i = 0; i < rows; ++i) {
      const std::string n = std::to_string(i);
      table.Append();
      table.SetText("CASIG", "MAT" + std::to_string(i % 997));
      table.SetText("CGRUP", "1ESO" + std::to_string(i % 7));
      table.SetText("CAULA", "");
      table.SetText("TURNO", "");
      table.SetText("NIVEL", "ESO");
      table.SetText("CURSO", "1");
      table.SetText("GRUPO", "A");
      table.SetFloat("HORAS", 4);
      table.SetText("SESIONES", "1111");
      table.SetText("CLAVE", n);
      table.SetText("CLAVECURSO", "7001");
      table.SetText("CTAREA", "1");
      table.Post();
    }
    table.Close();
  }
  const double append_seconds = Seconds(append_start);
  const double append_cpu = CpuSeconds() - append_cpu_start;
  const fs::path data_file = folder / "ASIGT.DBF";
  const auto bytes = fs::file_size(data_file);

  // The same bytes through a plain buffered stream: the same values made for each row,
  // copied to their places in a record buffer, one write per record.
  const fs::path plain_file = folder / "PLAIN.BIN";
  const auto plain_start = Clock::now();
  const double plain_cpu_start = CpuSeconds();
  {
    std::ofstream out(plain_file, std::ios::binary | std::ios::trunc);
    std::string header(32 * 15 + 1, '\0');
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    std::string record(126, ' ');
    auto put = [&record](std::size_t at, std::size_t width, std::string_view value) {
      const std::size_t n = std::min(width, value.size());
      std::memcpy(record.data() + at, value.data(), n);
      std::memset(record.data() + at + n, ' ', width - n);
    };
    for (long i = 0; i < rows; ++i) {
      const std::string n = std::to_string(i);
      put(1, 10, "MAT" + std::to_string(i % 997));
      put(21, 10, "1ESO" + std::to_string(i % 7));
      put(31, 10, "");
      put(41, 1, "");
      put(42, 5, "ESO");
      put(47, 3, "1");
      put(50, 2, "A");
      put(52, 20, "              4.0000");
      put(72, 20, "1111");
      put(96, 10, n);
      put(106, 10, "7001");
      put(116, 10, "1");
      out.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    out.put('\x1A');
  }
  const double plain_seconds = Seconds(plain_start);
  const double plain_cpu = CpuSeconds() - plain_cpu_start;

  const auto read_start = Clock::now();
  long read_rows = 0;
  std::size_t characters = 0;
  {
    Table table = work.OpenWorkTable("ASIGT", OpenMode::kExclusive);
    std::vector<std::size_t> fields;
    for (const FieldDef& field : table.Fields()) fields.push_back(table.FieldIndex(field.name));
    for (; !table.Eof(); table.Next()) {
      for (std::size_t field : fields) characters += table.GetText(field).size();
      ++read_rows;
    }
  }
  const double read_seconds = Seconds(read_start);

  const auto locate_start = Clock::now();
  bool found = false;
  {
    Table table = work.OpenWorkTable("ASIGT");
    found = table.Locate({"CLAVE"}, {std::to_string(rows - 1)});
  }
  const double locate_seconds = Seconds(locate_start);

  // The import's pattern: a filter per teacher, each walked to its end.
  const auto filter_start = Clock::now();
  long filtered_rows = 0;
  const int filter_values = 100;
  {
    Table table = work.OpenWorkTable("ASIGT", OpenMode::kExclusive);
    for (int v = 0; v < filter_values; ++v) {
      table.SetFiltered(false);
      table.SetFilter("CASIG", "MAT" + std::to_string(v));
      table.SetFiltered(true);
      for (table.First(); !table.Eof(); table.Next()) ++filtered_rows;
    }
  }
  const double filter_seconds = Seconds(filter_start);

  std::printf("rows                 %ld (%.1f MB table)\n", rows, bytes / 1e6);
  std::printf("append               %.3f s, %.0f rows/s\n", append_seconds, rows / append_seconds);
  std::printf("plain buffered write %.3f s, %.0f rows/s\n", plain_seconds, rows / plain_seconds);
  std::printf("append / plain       %.2f (processor time %.3f s / %.3f s = %.2f)\n",
              append_seconds / plain_seconds, append_cpu, plain_cpu, append_cpu / plain_cpu);
  std::printf("scan with GetText    %.3f s, %.0f rows/s (%ld rows, %zu characters)\n", read_seconds,
              read_rows / read_seconds, read_rows, characters);
  std::printf("%d filtered walks     %.3f s (%ld rows)\n", filter_values, filter_seconds,
              filtered_rows);
  std::printf("locate the last row  %.3f s%s\n", locate_seconds, found ? "" : " (not found!)");
  fs::remove(plain_file);
  return read_rows == rows && found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::stol(argv[1]) : 1000000;
  const bool own_folder = argc <= 2;
  const fs::path folder =
      own_folder ? fs::temp_directory_path() / "tv_bench_tables" : fs::path(argv[2]);
  fs::create_directories(folder);
  int result = 1;
  try {
    result = Run(rows, folder);
  } catch (const tv::RunError& error) {
    std::fprintf(stderr, "%s\n", error.message().c_str());
  }
  if (own_folder) fs::remove_all(folder);
  return result;
}
