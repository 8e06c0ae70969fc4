// The block reader: direct walks over the children of the root, of BLOQUE_DATOS and of
// each data block, so selecting a block costs time in proportion to the file's top levels.
#include "exchange/block_reader.h"

#include <pugixml.hpp>

#include "util/cp1252.h"
#include "util/text.h"

namespace tv {

const std::vector<std::string> kBlockCatalogue = {
    "MATERIAS",          "ACTIVIDADES", "EMPLEADOS",          "DEPENDENCIAS",
    "CURSOS_DEL_CENTRO", "UNIDADES",    "JORNADAS_ESCOLARES", "TRAMOS_HORARIOS"};

BlockRecords SelectBlockRecords(const xml::Document& document, std::string_view block) {
  BlockRecords records;
  const pugi::xml_node root(document.Root().raw());
  if (!root || std::string_view(root.name()) != "SERVICIO") return records;
  const std::string seq = Cp1252ToUtf8(block);
  for (pugi::xml_node data = root.child("BLOQUE_DATOS"); data;
       data = data.next_sibling("BLOQUE_DATOS")) {
    for (pugi::xml_node group = data.child("grupo_datos"); group;
         group = group.next_sibling("grupo_datos")) {
      const pugi::xml_attribute name = group.attribute("seq");
      if (!name || seq != name.value()) continue;
      for (pugi::xml_node record = group.child("grupo_datos"); record;
           record = record.next_sibling("grupo_datos")) {
        records.emplace_back(record.internal_object());
      }
    }
  }
  return records;
}

RecordFieldList RecordFields(xml::Node record) { return record.ChildElements("dato"); }

std::string FieldText(const RecordFieldList& fields, std::size_t position) {
  if (position >= fields.size()) return "";
  return fields[position].Text();
}

std::optional<std::string> YearCode(const xml::Document& document) {
  const xml::Node root = document.Root();
  if (root.Name() != "SERVICIO") return std::nullopt;
  const std::vector<xml::Node> data = root.ChildElements("BLOQUE_DATOS");
  if (data.empty()) return std::nullopt;
  const xml::Node first = data.front().FirstChild();
  if (first.IsNull() || first.IsBlankText()) return std::nullopt;
  return LeftPart(first.Text(), 4);
}

}  // namespace tv
