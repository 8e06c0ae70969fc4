// Small functions on 8-bit texts (code page 1252, counted in bytes) that clean values
// read from an exchange file or a work table and build short codes from names.
// A blank is the space character (code 32) and nothing else: tab, line feed and the
// no-break space (code 160) are ordinary characters here. None of them can fail.
#pragma once

#include <string>
#include <string_view>

namespace tv {

// The text without leading and trailing blanks; blanks inside stay as they are.
std::string AllTrim(std::string_view text);
// The text without leading blanks.
std::string LTrim(std::string_view text);
// The text without trailing blanks.
std::string RTrim(std::string_view text);
// The first n characters, or the whole text when n is not smaller than its length;
// the empty text when n is 0 or negative.
std::string LeftPart(std::string_view text, long n);
// The last n characters, or the whole text when n is not smaller than its length;
// the empty text when n is 0 or negative.
std::string RightPart(std::string_view text, long n);
// Only the capital letters A to Z of the text, in their order (accented capitals dropped).
std::string Capitals(std::string_view text);
// The characters that follow each blank of the text (a blank in the last place gives nothing).
std::string InitialsAfter(std::string_view text);

// Upper-cases the letters a to z only; accented letters and all else stay as they are.
std::string UpperAscii(std::string_view text);
// Whether two texts are equal when the letters a to z count as A to Z (file and field
// names, as dBase and Windows compare them).
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
// Lower-cases a text as Velorim's system compares names regardless of letter case:
// A to Z and the accented capitals of code page 1252 (À..Þ except ×, Š, Œ, Ž, Ÿ).
std::string FoldCase1252(std::string_view text);

}  // namespace tv
