#include "worktables/table.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include "util/env.h"
#include "util/run_error.h"
#include "util/text.h"
#include "worktables/dbf_header.h"
#include "worktables/dbf_records.h"
#include "worktables/dbf_values.h"
#include "worktables/field_names.h"
#include "worktables/field_types.h"
#include "worktables/mdx_index.h"

namespace tv::worktables {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShortNameLength = 10;
constexpr std::size_t kLongNameLength = 31;
constexpr int kMaxCharacterWidth = 254;
// Tables with fewer rows are searched row by row; bigger ones get the lookups below.
constexpr std::uint64_t kLookupThreshold = 256;

// The table name without a ".DBF" ending, in any letter case.
std::string BaseName(std::string name) {
  if (name.size() > 4 &&
      EqualIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".DBF")) {
    name.resize(name.size() - 4);
  }
  return name;
}

FieldDef LogicalField(const DbfField& field) {
  FieldDef def;
  def.name = field.name;
  def.type = LogicalTypeOf(field.type, field.decimals);
  def.size = field.length;
  return def;
}

// Texts as map keys, looked up without building a string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

}  // namespace

struct Table::Impl {
  enum class State { kBrowse, kAppend, kEdit };

  fs::path folder;
  std::string base;  // the table name without extension, as given
  std::vector<FieldDef> defined_fields;
  std::vector<IndexDef> defined_indexes;
  std::vector<FieldDef> open_fields;  // the fields of the table last opened

  // The open table.
  std::optional<DbfRecords> records;
  std::vector<IndexDef> open_indexes;  // tags of its production index, rebuilt on close
  FieldNames names;
  std::string blank_record;
  std::uint64_t position = 0;
  bool eof = true;
  State state = State::kBrowse;
  std::string row;  // the row being appended or edited
  std::optional<std::uint64_t> live_count;

  CutObserver on_cut;

  bool filter_set = false;
  bool filtered = false;
  std::size_t filter_field = 0;
  std::string filter_value;

  // Lookups built with one pass over a big table while its rows do not change, so that
  // walking the rows of one filter value, or locating again and again on the same
  // fields, does not read the whole table each time. `generation` counts stored rows.
  std::uint64_t generation = 0;
  struct FilterRows {
    std::size_t field = 0;
    std::uint64_t generation = 0;
    std::unordered_map<std::string, std::vector<std::uint64_t>, TextHash, std::equal_to<>> rows;
  };
  std::optional<FilterRows> filter_rows;
  struct LocateRows {
    std::vector<std::size_t> fields;
    std::uint64_t generation = 0;
    bool filtered = false;
    std::size_t filter_field = 0;
    std::string filter_value;
    // The joined values, and the first row that holds them.
    std::unordered_map<std::string, std::uint64_t, TextHash, std::equal_to<>> first_row;
  };
  std::optional<LocateRows> locate_rows;
  std::vector<std::size_t> last_locate_fields;

  const DbfHeader& Header() const { return records->Header(); }
  const DbfField& Field(std::size_t index) const { return records->Header().fields[index]; }
  DbfFamily Family() const { return records->Header().family; }
  std::uint64_t Count() const { return records->Count(); }

  fs::path DataPathForCreate() const { return folder / (UpperAscii(base) + ".DBF"); }

  std::string MessagePath() const {
    return records ? records->FileText() : env::PathText(folder / (base + ".DBF"));
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw RunError(what + " (tabla " + MessagePath() + ")");
  }

  void RequireOpen() const {
    if (!records) Fail("La tabla no est\xE1 abierta");
  }

  std::size_t FieldOrFail(std::string_view name) {
    RequireOpen();
    const std::size_t index = names.Find(name);
    if (index == names.Size()) Fail("No existe el campo " + std::string(name));
    return index;
  }

  // The row the reads see: the one being written, the current one, or a blank row
  // when there is none.
  const char* Current() {
    if (state != State::kBrowse) return row.data();
    if (eof || position >= Count()) return blank_record.data();
    return records->Record(position);
  }

  bool Filtering() const { return filtered && filter_set; }

  bool Visible(std::uint64_t index) {
    const char* record = records->Record(index);
    if (record[0] == '*') return false;
    return !Filtering() || ReadsAs(Field(filter_field), Family(), record, filter_value);
  }

  void SeekVisibleFrom(std::uint64_t index) {
    if (Filtering() && filter_rows && filter_rows->field == filter_field &&
        filter_rows->generation == generation) {
      const auto found = filter_rows->rows.find(std::string_view(filter_value));
      if (found != filter_rows->rows.end()) {
        const auto& rows = found->second;
        const auto next = std::lower_bound(rows.begin(), rows.end(), index);
        if (next != rows.end()) {
          position = *next;
          eof = false;
          return;
        }
      }
      position = Count();
      eof = true;
      return;
    }
    for (; index < Count(); ++index) {
      if (Visible(index)) {
        position = index;
        eof = false;
        return;
      }
    }
    position = Count();
    eof = true;
  }

  void PrepareFilterRows() {
    if (!Filtering() || Count() < kLookupThreshold) return;
    if (filter_rows && filter_rows->field == filter_field &&
        filter_rows->generation == generation) {
      return;
    }
    FilterRows built;
    built.field = filter_field;
    built.generation = generation;
    const DbfField& field = Field(filter_field);
    for (std::uint64_t i = 0; i < Count(); ++i) {
      const char* record = records->Record(i);
      if (record[0] == '*') continue;
      built.rows[ReadText(field, Family(), record)].push_back(i);
    }
    filter_rows = std::move(built);
  }

  static void AppendKeyPart(std::string& key, std::string_view value) {
    key += std::to_string(value.size());
    key += ':';
    key += value;
  }

  bool LocateRowsFit(const std::vector<std::size_t>& fields) const {
    if (!locate_rows || locate_rows->fields != fields || locate_rows->generation != generation ||
        locate_rows->filtered != Filtering()) {
      return false;
    }
    return !Filtering() ||
           (locate_rows->filter_field == filter_field && locate_rows->filter_value == filter_value);
  }

  void BuildLocateRows(const std::vector<std::size_t>& fields) {
    LocateRows built;
    built.fields = fields;
    built.generation = generation;
    built.filtered = Filtering();
    built.filter_field = filter_field;
    built.filter_value = filter_value;
    std::string key;
    for (std::uint64_t i = 0; i < Count(); ++i) {
      if (!Visible(i)) continue;
      const char* record = records->Record(i);
      key.clear();
      for (std::size_t f : fields) AppendKeyPart(key, ReadText(Field(f), Family(), record));
      built.first_row.emplace(key, i);  // the first row in table order wins
    }
    locate_rows = std::move(built);
  }

  void Post() {
    if (state == State::kBrowse) return;
    if (state == State::kAppend) {
      records->Append(row);
      position = Count() - 1;
      if (live_count) ++*live_count;
    } else {
      records->Replace(position, row);
    }
    eof = false;
    ++generation;
    state = State::kBrowse;
  }

  void StartWriting(State new_state) {
    RequireOpen();
    Post();
    if (!records->Writable()) Fail("La tabla es de solo lectura");
    if (new_state == State::kEdit && (eof || position >= Count())) {
      // Nothing to edit: a new row takes its place.
      new_state = State::kAppend;
    }
    if (new_state == State::kAppend) {
      row = blank_record;
    } else {
      row.assign(records->Record(position), Header().record_length);
    }
    state = new_state;
  }

  template <typename Store>
  void SetField(std::string_view name, Store store) {
    const std::size_t index = FieldOrFail(name);
    if (state == State::kBrowse) {
      Fail("La tabla no est\xE1 en modo de edici\xF3n al escribir el campo " + std::string(name));
    }
    try {
      store(Field(index), row.data());
    } catch (const RunError& error) {
      Fail(error.message() + ", campo " + Field(index).name);
    }
  }

  void Close() {
    if (!records) return;
    std::optional<RunError> failure;
    try {
      Post();
    } catch (const RunError& error) {
      failure = error;
      state = State::kBrowse;
    }
    try {
      if (records->Modified()) {
        records->Finish();
        if (!open_indexes.empty()) RebuildIndex();
      }
    } catch (const RunError& error) {
      if (!failure) failure = error;
    }
    records->Close();
    records.reset();
    filter_rows.reset();
    locate_rows.reset();
    eof = true;
    if (failure) throw *failure;
  }

  void RebuildIndex();
};

void Table::Impl::RebuildIndex() {
  std::vector<MdxTagKeys> tags;
  for (const IndexDef& index : open_indexes) {
    const std::size_t field_index = names.Find(index.field);
    if (field_index == names.Size()) continue;
    MdxTagKeys tag;
    tag.name = index.tag;
    tag.field = Field(field_index);
    tag.keys.reserve(static_cast<std::size_t>(Count()));
    for (std::uint64_t i = 0; i < Count(); ++i) {
      const char* record = records->Record(i);
      tag.keys.push_back(std::string(record + tag.field.offset, tag.field.length));
    }
    tags.push_back(std::move(tag));
  }
  const fs::path data_path = records->Path();
  fs::path index_path = data_path;
  index_path.replace_extension(data_path.extension().string() == ".dbf" ? ".mdx" : ".MDX");
  if (auto existing =
          env::FindFileNoCase(data_path.parent_path(), index_path.filename().string())) {
    index_path = *existing;
  }
  WriteMdx(index_path, data_path.stem().string(), tags);
}

Table::Table(fs::path folder, std::string name) : impl_(std::make_unique<Impl>()) {
  impl_->folder = std::move(folder);
  impl_->base = BaseName(std::move(name));
}

Table::~Table() {
  if (!impl_) return;
  try {
    impl_->Close();
  } catch (const RunError&) {
    // A destructor cannot report; the run that failed reports its own error.
  }
}

Table::Table(Table&&) noexcept = default;

Table& Table::operator=(Table&& other) noexcept {
  if (this != &other) {
    if (impl_) {
      try {
        impl_->Close();
      } catch (const RunError&) {
      }
    }
    impl_ = std::move(other.impl_);
  }
  return *this;
}

void Table::ClearFields() {
  impl_->defined_fields.clear();
  impl_->defined_indexes.clear();
}

void Table::AddField(FieldDef field) { impl_->defined_fields.push_back(std::move(field)); }

void Table::AddIndex(IndexDef index) { impl_->defined_indexes.push_back(std::move(index)); }

void Table::Create() {
  Impl& t = *impl_;
  t.Close();
  const fs::path data_path = t.DataPathForCreate();
  const std::string file_text = env::PathText(data_path);
  auto refuse = [&](const std::string& why) {
    throw RunError("No se puede crear la tabla " + file_text + ": " + why);
  };
  if (t.defined_fields.empty()) refuse("no tiene campos");

  DbfHeader header;
  for (const FieldDef& def : t.defined_fields) {
    const std::string name = UpperAscii(def.name);
    if (name.empty() || name.size() > kLongNameLength) {
      refuse("el nombre de campo '" + def.name + "' no es v\xE1lido");
    }
    for (const DbfField& other : header.fields) {
      if (other.name == name) refuse("el campo " + name + " est\xE1 repetido");
    }
    const PhysicalType physical = PhysicalTypeOf(def);
    if (physical.type == 'C' && (physical.length < 1 || physical.length > kMaxCharacterWidth)) {
      refuse("el campo " + name + " tiene un ancho no v\xE1lido");
    }
    DbfField field;
    field.name = name;
    field.type = physical.type;
    field.length = physical.length;
    field.decimals = physical.decimals;
    header.fields.push_back(std::move(field));
  }
  for (const IndexDef& index : t.defined_indexes) {
    bool found = false;
    for (DbfField& field : header.fields) {
      if (EqualIgnoringAsciiCase(field.name, index.field)) field.indexed = found = true;
    }
    if (!found) refuse("el \xEDndice " + index.tag + " usa el campo inexistente " + index.field);
    if (index.tag.empty() || index.tag.size() > kShortNameLength) {
      refuse("el nombre de \xEDndice '" + index.tag + "' no es v\xE1lido");
    }
  }
  header.production_index = !t.defined_indexes.empty();
  SetToday(header);

  std::error_code ec;
  if (!fs::is_directory(t.folder, ec)) {
    refuse("no existe la carpeta " + env::PathText(t.folder));
  }
  const std::string data_name = data_path.filename().string();
  const std::string index_name = UpperAscii(t.base) + ".MDX";
  // Another spelling of the same name is the same table on Velorim's system: it goes,
  // once no one holds it.
  if (auto existing = env::FindFileNoCase(t.folder, data_name);
      existing && existing->filename() != data_path.filename()) {
    // Throws when another open holds it. The probe is closed before the removal, which
    // Windows refuses on a file that is open.
    env::TableFile::Open(*existing, env::ShareMode::kExclusive).Close();
    env::RemoveFile(*existing);
  }

  env::TableFile file = env::TableFile::Create(data_path);
  std::string bytes = BuildDbfHeader(header);
  bytes.push_back(static_cast<char>(kDbfEndOfFile));
  file.WriteAt(0, bytes.data(), bytes.size());

  while (auto old_index = env::FindFileNoCase(t.folder, index_name)) {
    try {
      env::RemoveFile(*old_index);
    } catch (const RunError&) {
      break;  // Writing the new index reports what stands in its way.
    }
  }
  if (header.production_index) {
    std::vector<MdxTagKeys> tags;
    for (const IndexDef& index : t.defined_indexes) {
      MdxTagKeys tag;
      tag.name = UpperAscii(index.tag);
      for (const DbfField& field : header.fields) {
        if (EqualIgnoringAsciiCase(field.name, index.field)) tag.field = field;
      }
      tags.push_back(std::move(tag));
    }
    WriteMdx(t.folder / index_name, UpperAscii(t.base), tags);
  }
  file.Close();
}

void Table::Open(OpenMode mode) {
  Impl& t = *impl_;
  if (t.records) return;
  const std::string file_name = t.base + ".DBF";
  std::error_code ec;
  if (!fs::is_directory(t.folder, ec)) {
    throw RunError("No existe la carpeta " + env::PathText(t.folder) + " de la tabla " + file_name);
  }
  const auto found = env::FindFileNoCase(t.folder, file_name);
  if (!found) throw RunError("No existe la tabla " + env::PathText(t.folder / file_name));
  env::RequireReadableFile(*found);
  DbfRecords records = DbfRecords::Open(
      *found, mode == OpenMode::kExclusive ? env::ShareMode::kExclusive : env::ShareMode::kShared);

  std::vector<IndexDef> indexes;
  const DbfHeader& header = records.Header();
  if (header.production_index && header.family != DbfFamily::kFoxPro &&
      header.family != DbfFamily::kVisualFoxPro) {
    if (auto index_path = env::FindFileNoCase(t.folder, t.base + ".MDX")) {
      try {
        indexes = ReadMdxTags(*index_path);
      } catch (const RunError&) {
        // An index we cannot read is left as it is; the rows are what the callers read.
      }
    }
  }

  t.records.emplace(std::move(records));
  t.open_indexes = std::move(indexes);
  t.blank_record.assign(t.Header().record_length, ' ');
  t.state = Impl::State::kBrowse;
  t.live_count.reset();
  t.filter_set = t.filtered = false;
  t.filter_rows.reset();
  t.locate_rows.reset();
  t.last_locate_fields.clear();
  t.open_fields.clear();
  std::vector<std::string> names;
  for (const DbfField& field : t.Header().fields) {
    t.open_fields.push_back(LogicalField(field));
    names.push_back(field.name);
  }
  t.names = FieldNames(std::move(names));
  t.SeekVisibleFrom(0);
}

void Table::Close() { impl_->Close(); }

bool Table::IsOpen() const { return impl_ && impl_->records.has_value(); }

void Table::Append() { impl_->StartWriting(Impl::State::kAppend); }

void Table::Edit() { impl_->StartWriting(Impl::State::kEdit); }

void Table::Post() {
  impl_->RequireOpen();
  impl_->Post();
}

void Table::SetText(std::string_view field, std::string_view value) {
  impl_->SetField(field, [&](const DbfField& f, char* r) {
    StoreText(f, r, value);
    if (f.type == 'C' && impl_->on_cut &&
        RTrim(value).size() > static_cast<std::size_t>(f.length)) {
      impl_->on_cut(f.name, value, static_cast<std::size_t>(f.length));
    }
  });
}

void Table::OnTextCut(CutObserver observer) { impl_->on_cut = std::move(observer); }

void Table::SetBool(std::string_view field, bool value) {
  impl_->SetField(field, [&](const DbfField& f, char* r) { StoreBool(f, r, value); });
}

void Table::SetInt(std::string_view field, std::int64_t value) {
  impl_->SetField(field, [&](const DbfField& f, char* r) { StoreInt(f, r, value); });
}

void Table::SetFloat(std::string_view field, double value) {
  impl_->SetField(field, [&](const DbfField& f, char* r) { StoreFloat(f, r, value); });
}

void Table::First() {
  impl_->RequireOpen();
  impl_->Post();
  impl_->SeekVisibleFrom(0);
}

void Table::Next() {
  impl_->RequireOpen();
  impl_->Post();
  if (impl_->eof) return;
  impl_->SeekVisibleFrom(impl_->position + 1);
}

bool Table::Eof() const {
  return !impl_->records || (impl_->eof && impl_->state == Impl::State::kBrowse);
}

bool Table::Locate(const std::vector<std::string>& fields, const std::vector<std::string>& values) {
  Impl& t = *impl_;
  t.RequireOpen();
  if (fields.size() != values.size() || fields.empty()) {
    t.Fail("La b\xFAsqueda necesita tantos valores como campos");
  }
  std::vector<const DbfField*> keys;
  std::vector<std::size_t> key_fields;
  for (const std::string& name : fields) {
    key_fields.push_back(t.FieldOrFail(name));
    keys.push_back(&t.Field(key_fields.back()));
  }
  t.Post();
  // Locating on the same fields again in a big table: one pass builds the lookup.
  if (!t.LocateRowsFit(key_fields) && key_fields == t.last_locate_fields &&
      t.Count() >= kLookupThreshold) {
    t.BuildLocateRows(key_fields);
  }
  t.last_locate_fields = key_fields;
  if (t.LocateRowsFit(key_fields)) {
    std::string key;
    for (const std::string& value : values) Impl::AppendKeyPart(key, value);
    const auto found = t.locate_rows->first_row.find(std::string_view(key));
    if (found == t.locate_rows->first_row.end()) return false;
    t.position = found->second;
    t.eof = false;
    return true;
  }
  for (std::uint64_t i = 0; i < t.Count(); ++i) {
    if (!t.Visible(i)) continue;
    const char* record = t.records->Record(i);
    bool match = true;
    for (std::size_t k = 0; k < keys.size() && match; ++k) {
      match = ReadsAs(*keys[k], t.Family(), record, values[k]);
    }
    if (match) {
      t.position = i;
      t.eof = false;
      return true;
    }
  }
  return false;
}

void Table::SetFilter(std::string_view field, std::string_view value) {
  Impl& t = *impl_;
  t.filter_field = t.FieldOrFail(field);
  t.filter_value = std::string(value);
  t.filter_set = true;
  if (t.filtered) {
    t.Post();
    t.PrepareFilterRows();
    First();
  }
}

void Table::SetFiltered(bool on) {
  Impl& t = *impl_;
  t.RequireOpen();
  t.filtered = on;
  t.Post();
  t.PrepareFilterRows();
  First();
}

std::size_t Table::RecordCount() const {
  Impl& t = *impl_;
  t.RequireOpen();
  if (!t.live_count) {
    std::uint64_t count = 0;
    for (std::uint64_t i = 0; i < t.Count(); ++i) {
      if (t.records->Record(i)[0] != '*') ++count;
    }
    t.live_count = count;
  }
  return static_cast<std::size_t>(*t.live_count);
}

std::string Table::GetText(std::string_view field) const {
  return GetText(impl_->FieldOrFail(field));
}

std::int64_t Table::GetInt(std::string_view field) const {
  Impl& t = *impl_;
  const std::size_t index = t.FieldOrFail(field);
  try {
    return ReadInt(t.Field(index), t.Family(), t.Current());
  } catch (const RunError& error) {
    t.Fail(error.message() + ", campo " + t.Field(index).name);
  }
}

double Table::GetFloat(std::string_view field) const {
  Impl& t = *impl_;
  const std::size_t index = t.FieldOrFail(field);
  try {
    return ReadFloat(t.Field(index), t.Family(), t.Current());
  } catch (const RunError& error) {
    t.Fail(error.message() + ", campo " + t.Field(index).name);
  }
}

std::size_t Table::FieldIndex(std::string_view field) const { return impl_->FieldOrFail(field); }

std::string Table::GetText(std::size_t field_index) const {
  Impl& t = *impl_;
  t.RequireOpen();
  if (field_index >= t.names.Size()) {
    t.Fail("No existe el campo n\xFAmero " + std::to_string(field_index));
  }
  return ReadText(t.Field(field_index), t.Family(), t.Current());
}

const std::vector<FieldDef>& Table::Fields() const {
  return impl_->open_fields.empty() ? impl_->defined_fields : impl_->open_fields;
}

char Table::StoredType(std::size_t field_index) const {
  Impl& t = *impl_;
  t.RequireOpen();
  if (field_index >= t.names.Size()) {
    t.Fail("No existe el campo n\xFAmero " + std::to_string(field_index));
  }
  return t.Field(field_index).type;
}

std::uint64_t Table::UncountedRows() const {
  Impl& t = *impl_;
  t.RequireOpen();
  return t.Header().uncounted_rows;
}

fs::path Table::DataFile() const {
  const Impl& t = *impl_;
  if (t.records) return t.records->Path();
  if (auto found = env::FindFileNoCase(t.folder, t.base + ".DBF")) return *found;
  return t.DataPathForCreate();
}

}  // namespace tv::worktables
