// Texts for the terminal. A file's names and values reach the screen through here, so
// that control characters in them (an escape sequence that retitles the window or clears
// the screen) are shown, never obeyed.
#pragma once

#include <string>
#include <string_view>

namespace tv::cli {

// The UTF-8 text with every control character written as an escape: "\x1B" for the
// ASCII ones (and DEL), "\u0090" for the C1 ones. Line feeds and tabs are kept when
// `keep_line_breaks` (a message of several lines), escaped otherwise (one table cell).
std::string TerminalText(std::string_view utf8, bool keep_line_breaks);

}  // namespace tv::cli
