// A dBase table of the work folder, as the export and the import use it: define and
// create, open shared or exclusive, append and edit rows, scan in table order, locate,
// filter, and read fields. Texts are code page 1252. Every failure (missing table,
// refused open, damaged file, unknown field, a value a field cannot take) throws
// RunError naming the file. The table is closed when the object goes away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tv::worktables {

// The four field types the system defines. Their physical dBase types are fixed in one
// place (field_types.h): character C n, integer N 11.0, floating-point N 20.4, logical L 1.
enum class FieldType { kCharacter, kInteger, kFloat, kLogical };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::kCharacter;
  int size = 0;  // width of a character field; ignored for the other types
};

// An index tag of the production .MDX file: ascending, not unique, on one field.
struct IndexDef {
  std::string tag;
  std::string field;
};

enum class OpenMode { kShared, kExclusive };

class Table {
 public:
  // A table object on `folder` and `name`; the name may carry ".DBF" or not, in any
  // letter case. Nothing is touched on disk yet.
  Table(std::filesystem::path folder, std::string name);
  ~Table();
  Table(Table&&) noexcept;
  Table& operator=(Table&&) noexcept;

  // Definition, for Create.
  void ClearFields();
  void AddField(FieldDef field);
  void AddIndex(IndexDef index);
  // Creates the table empty with exactly the defined fields, in upper-case file
  // names, replacing a table of the same name. The table stays closed.
  void Create();

  // Opens the existing table, positioned on the first row.
  void Open(OpenMode mode = OpenMode::kShared);
  // Stores a pending row, writes the header and index, releases the lock.
  void Close();
  bool IsOpen() const;

  // Writing: Append starts a new blank row, Edit changes the current row; the Set
  // functions fill fields of that row; Post stores it (First, Next and Close store a
  // pending row too). A text longer than a character field is cut to its width.
  void Append();
  void Edit();
  void Post();
  void SetText(std::string_view field, std::string_view value);
  void SetBool(std::string_view field, bool value);
  void SetInt(std::string_view field, std::int64_t value);
  void SetFloat(std::string_view field, double value);

  // Called whenever SetText stores into a character field a text whose trailing blanks
  // aside is longer than the field, which keeps only its first `width` characters; with
  // the field's name and the whole value. Nothing changes in what is stored.
  using CutObserver =
      std::function<void(std::string_view field, std::string_view value, std::size_t width)>;
  void OnTextCut(CutObserver observer);

  // Scanning in table order; deleted rows and rows the filter rejects are passed over.
  void First();
  void Next();
  bool Eof() const;

  // Goes to the first row whose named fields equal the values exactly (case-sensitive,
  // whole values, as GetText reads them). Returns whether one was found; when none is,
  // the position is unchanged.
  bool Locate(const std::vector<std::string>& fields, const std::vector<std::string>& values);

  // A filter that keeps the rows whose field reads (GetText) exactly as `value`.
  void SetFilter(std::string_view field, std::string_view value);
  void SetFiltered(bool on);

  // The number of rows of the table (deleted rows not counted, the filter ignored).
  std::size_t RecordCount() const;

  // Reading the current row. Character fields come without trailing pad blanks;
  // numeric fields as their plain decimal text ("1", "-10", "4.5"); logical as "T" or
  // "F"; an empty field as the empty text, or 0 for the numeric reads.
  std::string GetText(std::string_view field) const;
  std::int64_t GetInt(std::string_view field) const;
  double GetFloat(std::string_view field) const;

  // Field positions, for callers that read many rows of a big table.
  std::size_t FieldIndex(std::string_view field) const;
  std::string GetText(std::size_t field_index) const;
  const std::vector<FieldDef>& Fields() const;
  // The dBase type letter a field of the open table is stored with (C, N, F, L, D, M...).
  char StoredType(std::size_t field_index) const;
  // Whole rows the open table's file holds beyond the count in its header; they are not
  // read (every dBase reader follows the count).
  std::uint64_t UncountedRows() const;

  // The files of the table (the .MDX only when one exists).
  std::filesystem::path DataFile() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tv::worktables
