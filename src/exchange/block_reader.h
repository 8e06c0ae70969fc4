// The block reader: how the export reads an exchange file. A file holds named data
// blocks (/SERVICIO/BLOQUE_DATOS/grupo_datos with a `seq`), each of block records
// (its grupo_datos children), each of record fields (its `dato` children, by position).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/xml_document.h"

namespace tv {

using BlockRecords = std::vector<xml::Node>;
using RecordFieldList = std::vector<xml::Node>;

// The block records of every data block whose `seq` equals `block` exactly, in
// document order (two blocks with one name give one list, the first block's first).
// Empty when the file has no such block or its root is not SERVICIO.
BlockRecords SelectBlockRecords(const xml::Document& document, std::string_view block);

// The record's `dato` children in document order; other elements do not count.
RecordFieldList RecordFields(xml::Node record);

// The table steps pass over a block record with at most one record field, silently.
inline bool SkippedByTableSteps(const RecordFieldList& fields) { return fields.size() <= 1; }

// The text of the record field at a 0-based position, in code page 1252, untrimmed.
// A position the record lacks reads as the empty text.
std::string FieldText(const RecordFieldList& fields, std::size_t position);

// The year code of the school year the file belongs to: the first four characters of the
// text of the first child node of /SERVICIO/BLOQUE_DATOS. Nothing when there is no such
// node (a BLOQUE_DATOS that is empty or holds only white space).
std::optional<std::string> YearCode(const xml::Document& document);

// The names of the data blocks the system reads, in the order of the catalogue.
extern const std::vector<std::string> kBlockCatalogue;

}  // namespace tv
