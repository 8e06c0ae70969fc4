// JSON for the files and listings scripts read: a text as a JSON string.
#pragma once

#include <string>
#include <string_view>

namespace tv {

// `utf8` as a JSON string, quotes included: '"' and '\' escaped, control characters (the
// C1 controls U+0080 to U+009F too) as \n, \r, \t or \u00XX.
std::string JsonString(std::string_view utf8);

}  // namespace tv
