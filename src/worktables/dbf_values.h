// Field values inside a record: reading a stored value as the text, integer or number
// the callers see, and storing a text, integer, number or truth value into a field.
// Reading: character fields without trailing pad blanks; numbers as their plain decimal
// text ("1", "-10", "4.5"); logical fields as "T", "F", or "" when blank; binary numbers
// (I, +, B and O, Y) as decimal text; dates as YYYYMMDD; memo fields as "".
// Writing: a text longer than a character field is cut to its width; a number that does
// not fit its field, or a text that is no value of the field's type, throws RunError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "worktables/dbf_header.h"

namespace tv::worktables {

std::string ReadText(const DbfField& field, DbfFamily family, const char* record);
// Callers comparing many rows: whether the field reads exactly as `value`.
bool ReadsAs(const DbfField& field, DbfFamily family, const char* record, std::string_view value);
// The integer and floating-point reads; "" reads as 0. A text that is no number throws.
std::int64_t ReadInt(const DbfField& field, DbfFamily family, const char* record);
double ReadFloat(const DbfField& field, DbfFamily family, const char* record);

// The stores. `record` is the whole record; only the field's bytes change. An empty text
// leaves the field blank.
void StoreText(const DbfField& field, char* record, std::string_view value);
void StoreInt(const DbfField& field, char* record, std::int64_t value);
void StoreFloat(const DbfField& field, char* record, double value);
void StoreBool(const DbfField& field, char* record, bool value);

// The number's plain decimal text from a stored numeric text: blanks dropped, no leading
// zeros, no trailing fraction zeros ("  4.5000" reads "4.5", " 007" reads "7"). A text
// that is no plain number comes back trimmed as it is.
std::string PlainNumber(std::string_view stored);

}  // namespace tv::worktables
