// A small program that the interop and sharing tests drive from scripts, so that tables
// pass between our engine and readers, writers and processes that are not ours.
//   write-sample FOLDER            writes MUESTRA.DBF: every field type, accented texts
//   write-indexed FOLDER N...      writes DIASHORAST2 with tag ORDEN and rows ORDEN = N...
//   append-indexed FOLDER N...     appends rows ORDEN = N... to it
//   dump FOLDER NAME               prints every row, fields joined by "|" (code page 1252)
//   hold FOLDER NAME MODE          opens (shared|exclusive), prints "open", waits for a line
//   try FOLDER NAME MODE           opens and closes; exit 0, or 3 when refused
#include <iostream>
#include <string>
#include <vector>

#include "util/run_error.h"
#include "worktables/table.h"
#include "worktables/work_folder.h"

using namespace tv::worktables;

namespace {

std::vector<FieldDef> SlotFields() {
  std::vector<FieldDef> fields;
  for (const char* name : {"DIHO", "DIA", "HORA", "CODDIHO", "HORADESDE", "HORAHASTA", "MARCO",
                           "MARCOXML", "NOMBRE", "TIPO", "CLAVE"}) {
    fields.push_back({name, FieldType::kCharacter, 10});
  }
  fields.push_back({"ORDEN", FieldType::kInteger, 0});
  return fields;
}

void AppendOrders(Table& table, char** first, char** last) {
  for (char** value = first; value != last; ++value) {
    table.Append();
    table.SetText("DIHO", std::string("R") + *value);
    table.SetText("ORDEN", *value);
    table.Post();
  }
}

OpenMode ModeOf(const std::string& text) {
  return text == "exclusive" ? OpenMode::kExclusive : OpenMode::kShared;
}

int Run(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  WorkFolder folder(argv[2]);
  if (command == "write-sample") {
    Table table = folder.RecreateWorkTable("MUESTRA", {{"NOMBRE", FieldType::kCharacter, 30},
                                                       {"COD", FieldType::kCharacter, 5},
                                                       {"DNI", FieldType::kInteger, 0},
                                                       {"HORAS", FieldType::kFloat, 0},
                                                       {"ESTAREA", FieldType::kLogical, 0}});
    table.Open();
    table.Append();
    table.SetText("NOMBRE",
                  "Jos\xE9 Mar\xED"
                  "a N\xFA\xF1"
                  "ez \x80");
    table.SetText("COD", "\xC1\xC9\xCD\xD3\xDA\xD1");  // six letters in a field of five
    table.SetInt("DNI", 12345678);
    table.SetFloat("HORAS", 4.5);
    table.SetBool("ESTAREA", true);
    table.Post();
    table.Append();
    table.SetText("NOMBRE", "  con blancos delante");
    table.SetText("COD", "x");
    table.SetInt("DNI", -7);
    table.SetFloat("HORAS", 0.25);
    table.SetBool("ESTAREA", false);
    table.Post();
    table.Append();  // nothing set
    table.Post();
    table.Close();
  } else if (command == "write-indexed" || command == "append-indexed") {
    if (command == "write-indexed") {
      folder.RecreateWorkTable("DIASHORAST2", SlotFields(), {{"ORDEN", "ORDEN"}});
    }
    Table table(folder.Path(), "DIASHORAST2.DBF");
    table.Open();
    AppendOrders(table, argv + 3, argv + argc);
    table.Close();
  } else if (command == "dump" && argc == 4) {
    Table table = folder.OpenWorkTable(argv[3]);
    for (; !table.Eof(); table.Next()) {
      for (std::size_t i = 0; i < table.Fields().size(); ++i) {
        std::cout << (i ? "|" : "") << table.GetText(i);
      }
      std::cout << "\n";
    }
  } else if (command == "hold" && argc == 5) {
    Table table = folder.OpenWorkTable(argv[3], ModeOf(argv[4]));
    std::cout << "open" << std::endl;
    std::string line;
    std::getline(std::cin, line);
  } else if (command == "try" && argc == 5) {
    try {
      Table table = folder.OpenWorkTable(argv[3], ModeOf(argv[4]));
    } catch (const tv::RunError& error) {
      std::cout << error.message() << std::endl;
      return 3;
    }
  } else {
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const tv::RunError& error) {
    std::cerr << error.message() << std::endl;
    return 1;
  }
}
