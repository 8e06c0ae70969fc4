#include "soluc_writer.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fstream>

#include "util/env.h"
#include "util/run_error.h"

namespace tv::sample {
namespace {

struct Field {
  const char* name;
  char type;
  int length;
};

constexpr std::array<Field, 8> kFields = {{{"PROF", 'C', 10},
                                           {"DIA", 'N', 2},
                                           {"HORA", 'N', 2},
                                           {"MARCO", 'C', 1},
                                           {"ASIG", 'C', 10},
                                           {"CODGRUPO", 'C', 10},
                                           {"TAREA", 'C', 10},
                                           {"AULA", 'C', 10}}};

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text, int length) {
  std::string cell = text.substr(0, static_cast<std::size_t>(length));
  cell.resize(static_cast<std::size_t>(length), ' ');
  out += cell;
}

void PutNumber(std::string& out, int value, int length) {
  std::string digits = std::to_string(value);
  if (digits.size() > static_cast<std::size_t>(length)) digits.assign(length, '*');
  out += std::string(static_cast<std::size_t>(length) - digits.size(), ' ') + digits;
}

}  // namespace

void WriteSoluc(const std::filesystem::path& work_folder, const std::vector<SolucRow>& rows) {
  int record_length = 1;
  for (const Field& field : kFields) record_length += field.length;
  const int header_length = 32 + 32 * static_cast<int>(kFields.size()) + 1;

  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(header_length) + rows.size() * record_length + 1);
  const std::time_t now = std::time(nullptr);
  const std::tm* date = std::gmtime(&now);
  bytes += '\x03';  // dBase III, no memo
  bytes += static_cast<char>(date->tm_year % 100);
  bytes += static_cast<char>(date->tm_mon + 1);
  bytes += static_cast<char>(date->tm_mday);
  PutLittle(bytes, static_cast<std::uint32_t>(rows.size()), 4);
  PutLittle(bytes, static_cast<std::uint32_t>(header_length), 2);
  PutLittle(bytes, static_cast<std::uint32_t>(record_length), 2);
  bytes.append(17, '\0');
  bytes += '\x03';  // language driver: code page 1252
  bytes.append(2, '\0');
  for (const Field& field : kFields) {
    char name[11] = {};
    std::strncpy(name, field.name, 10);
    bytes.append(name, 11);
    bytes += field.type;
    bytes.append(4, '\0');
    bytes += static_cast<char>(field.length);
    bytes += '\0';  // no decimals
    bytes.append(14, '\0');
  }
  bytes += '\x0D';
  for (const SolucRow& row : rows) {
    bytes += ' ';
    PutText(bytes, row.prof, 10);
    PutNumber(bytes, row.dia, 2);
    PutNumber(bytes, row.hora, 2);
    PutText(bytes, row.marco, 1);
    PutText(bytes, row.asig, 10);
    PutText(bytes, row.codgrupo, 10);
    PutText(bytes, row.tarea, 10);
    PutText(bytes, row.aula, 10);
  }
  bytes += '\x1A';

  const std::filesystem::path target = work_folder / "SOLUC.DBF";
  const std::filesystem::path partial = work_folder / "SOLUC.DBF.partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw RunError("No se puede escribir " + partial.string());
  }
  if (const auto old = env::FindFileNoCase(work_folder, "SOLUC.DBF"); old && *old != target) {
    std::filesystem::remove(*old);
  }
  env::ReplaceFile(partial, target);
  if (const auto index = env::FindFileNoCase(work_folder, "SOLUC.MDX")) {
    std::filesystem::remove(*index);
  }
}

}  // namespace tv::sample
