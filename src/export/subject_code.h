// How a subject's short code and long code are made up from its name.
#pragma once

#include <string>
#include <string_view>

namespace tv {

struct SubjectCode {
  std::string code;       // the base code, at most 10 characters (before it is made unique)
  std::string long_code;  // CODLARGO, as long as it comes (the field cuts it to 10)
};

// `name` is the trimmed, non-empty subject name. The base code is the name's first
// character when it is not a capital A..Z, followed by the name's capitals; a base of a
// single character becomes instead the name's first six characters (a name without a
// blank) or its first character and the characters after each blank. The long code is
// the base when it has five or more characters, else the name's first ten.
SubjectCode MakeSubjectCode(std::string_view name);

}  // namespace tv
