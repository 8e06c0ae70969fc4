#include "export_fixture.h"

#include <fstream>
#include <random>
#include <sstream>

#include "export/export_run.h"
#include "util/cp1252.h"
#include "worktables/table.h"

namespace tv::testing_export {

namespace fs = std::filesystem;

namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string ExchangeXml(const std::vector<Block>& blocks) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><BLOQUE_DATOS>\n";
  for (const Block& block : blocks) {
    xml += "<grupo_datos seq=\"" + block.seq + "\">\n";
    for (const auto& record : block.records) {
      xml += "  <grupo_datos>";
      for (const std::string& field : record) xml += "<dato>" + Escape(field) + "</dato>";
      xml += "</grupo_datos>\n";
    }
    xml += "</grupo_datos>\n";
  }
  return xml + "</BLOQUE_DATOS></SERVICIO>\n";
}

Block OneFrame() {
  return {"JORNADAS_ESCOLARES",
          {{"1",
            "Ma\xC3\xB1"
            "ana",
            "01/09/2026", "30/06/2027"}}};
}
Block OneSlot() { return {"TRAMOS_HORARIOS", {{"11", "1a", "480", "535", "1"}}}; }

FrameChoice FakeUi::ChooseFrames(const std::vector<TimeFrame>& frames) {
  ++frame_questions;
  frames_shown = frames;
  if (frame_answers.empty()) return {FrameChoice::Kind::kCancelled, {}};
  FrameChoice answer = frame_answers.front();
  frame_answers.pop_front();
  return answer;
}

void ExportTest::SetUp() {
  std::random_device random;
  root_ = fs::temp_directory_path() /
          ("tv_export_test_" + std::to_string(random()) + std::to_string(random()));
  fs::create_directories(root_ / "work");
  fs::create_directories(root_ / "program");
  folders_.work_folder = root_ / "work";
  folders_.program_folder = root_ / "program";
  WriteLevelTable({{6001, "ESO", "Secundaria"}});
}

void ExportTest::TearDown() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void ExportTest::WriteLevelTable(const LevelRows& rows, const std::string& key_field,
                                 const std::string& level_field) {
  using worktables::FieldType;
  fs::remove(folders_.program_folder / "NIVELEX.DBF");
  worktables::Table table(folders_.program_folder, "NIVELEX.DBF");
  table.AddField({key_field, FieldType::kInteger, 0});
  table.AddField({level_field, FieldType::kCharacter, 10});
  table.AddField({"ESTUDIO", FieldType::kCharacter, 100});
  table.Create();
  table.Open(worktables::OpenMode::kExclusive);
  for (const auto& [key, level, study] : rows) {
    table.Append();
    table.SetInt(key_field, key);
    table.SetText(level_field, level);
    table.SetText("ESTUDIO", study);
    table.Post();
  }
  table.Close();
}

RunReport ExportTest::Export(const std::string& xml) {
  const fs::path file = root_ / "centro.xml";
  std::ofstream(file, std::ios::binary) << xml;
  ui_.file = file;
  return RunExport(folders_, ui_, selected_);
}

RunReport ExportTest::Export(const std::vector<Block>& blocks) {
  return Export(ExchangeXml(blocks));
}

std::vector<std::vector<std::string>> ExportTest::ReadRows(
    const std::string& table_name, const std::vector<std::string>& fields) const {
  worktables::Table table(folders_.work_folder, table_name);
  table.Open();
  std::vector<std::vector<std::string>> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    std::vector<std::string> row;
    for (const std::string& field : fields) row.push_back(table.GetText(field));
    rows.push_back(std::move(row));
  }
  table.Close();
  return rows;
}

std::vector<std::string> ExportTest::Column(const std::string& table,
                                            const std::string& field) const {
  std::vector<std::string> column;
  for (auto& row : ReadRows(table, {field})) column.push_back(row[0]);
  return column;
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).generic_string();
    if (entry.is_directory()) {
      files[name + "/"] = "";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[name] = bytes.str();
  }
  return files;
}

std::string L(const std::string& utf8) { return Utf8ToCp1252(utf8); }

}  // namespace tv::testing_export
