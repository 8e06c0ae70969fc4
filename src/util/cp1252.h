// Conversions between code page 1252, the 8-bit texts of the whole core, and Unicode.
// The core converts at its edges only: XML documents, the terminal and the windows.
#pragma once

#include <string>
#include <string_view>

namespace tv {

// The cp1252 byte for a Unicode code point, or '?' when code page 1252 cannot hold it.
char CodePointTo1252(char32_t code_point);
// The Unicode code point of a cp1252 byte. The five bytes that code page 1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
char32_t Cp1252ToCodePoint(unsigned char byte);

// UTF-8 to cp1252: characters that cp1252 cannot hold become "?"; a malformed
// UTF-8 sequence counts as one such character per byte.
std::string Utf8ToCp1252(std::string_view utf8);
// cp1252 to UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
// ISO-8859-1 to UTF-8 (every byte is the code point of the same value).
std::string Latin1ToUtf8(std::string_view text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace tv
