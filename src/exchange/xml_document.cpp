// The XML document service on pugixml. The input bytes are turned into UTF-8 here,
// whatever their encoding, so that pugixml always parses UTF-8 and a parse error's
// offset can be turned into the line and column the user sees.
#include "exchange/xml_document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>
#include <pugixml.hpp>
#include <stdexcept>
#include <system_error>

#include "exchange/replacing_file.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::xml {

namespace fs = std::filesystem;

namespace {

// White space between elements is dropped, but the blanks that are an element's whole
// text stay (a field "<dato> </dato>" reads " "). Parsed as a fragment, so that text and
// further elements at document level become nodes and can be reported (pugixml would
// silently drop such text otherwise).
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_declaration |
                                 pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype |
                                 pugi::parse_ws_pcdata_single | pugi::parse_fragment;

pugi::xml_node Handle(pugi::xml_node_struct* node) { return pugi::xml_node(node); }

std::string ToCp1252(const pugi::char_t* text) { return Utf8ToCp1252(text ? text : ""); }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The name of a file as the messages show it (code page 1252).
std::string FileLabel(const fs::path& file) { return env::PathText(file); }

// ---- Where a position lies -------------------------------------------------------

struct LineColumn {
  std::size_t line = 1;
  std::size_t column = 1;
};

// Line and column (both from 1, the column counted in characters) of a byte offset
// in UTF-8 text. A line ends at "\n", "\r\n" or a lone "\r".
LineColumn Locate(std::string_view utf8, std::size_t offset) {
  LineColumn where;
  if (offset > utf8.size()) offset = utf8.size();
  for (std::size_t i = 0; i < offset; ++i) {
    const char c = utf8[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'))) {
      ++where.line;
      where.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++where.column;
    }
  }
  return where;
}

RunError NotWellFormed(const std::string& name, std::string_view utf8, std::size_t offset,
                       const std::string& reason) {
  const LineColumn where = Locate(utf8, offset);
  return RunError("El archivo " + name + " no es un XML bien formado: " + reason + " (l\xEDnea " +
                  std::to_string(where.line) + ", columna " + std::to_string(where.column) + ").");
}

std::string ParseReason(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_out_of_memory:
      return "no hay memoria suficiente para leerlo";
    case pugi::status_unrecognized_tag:
      return "etiqueta no reconocida";
    case pugi::status_bad_pi:
      return "declaraci\xF3n o instrucci\xF3n de proceso mal formada";
    case pugi::status_bad_comment:
      return "comentario mal formado";
    case pugi::status_bad_cdata:
      return "secci\xF3n CDATA mal formada";
    case pugi::status_bad_doctype:
      return "declaraci\xF3n de tipo de documento mal formada";
    case pugi::status_bad_pcdata:
      return "texto mal formado";
    case pugi::status_bad_start_element:
      return "etiqueta de apertura mal formada";
    case pugi::status_bad_attribute:
      return "atributo mal formado";
    case pugi::status_bad_end_element:
      return "etiqueta de cierre mal formada";
    case pugi::status_end_element_mismatch:
      return "la etiqueta de cierre no corresponde a la etiqueta abierta";
    case pugi::status_no_document_element:
      return "no tiene elemento ra\xEDz";
    default:
      return "error del analizador XML";
  }
}

// ---- Input encodings ---------------------------------------------------------------

enum class ByteEncoding { kUtf8, kUtf16Le, kUtf16Be, kLatin1, kCp1252 };

// The byte offset of the first byte that is not part of a valid UTF-8 sequence, or npos.
std::size_t FindInvalidUtf8(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    // Eight bytes of ASCII at a time, the bulk of an exchange file.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, s.data() + i, 8);
      if (word & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= n) break;
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    char32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return i;
    }
    if (i + extra >= n) return i;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return i;
    }
    i += extra + 1;
  }
  return std::string_view::npos;
}

// UTF-16 to UTF-8; `error_at` gets the offset (in the UTF-8 written so far) of an
// unpaired surrogate, if any.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, std::size_t& error_at) {
  error_at = std::string_view::npos;
  std::string out;
  out.reserve(bytes.size() / 2 + bytes.size() / 8);
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t k) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * k]);
    const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return big_endian ? static_cast<char32_t>((a << 8) | b) : static_cast<char32_t>((b << 8) | a);
  };
  for (std::size_t k = 0; k < units; ++k) {
    char32_t cp = unit(k);
    if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < units) {
      const char32_t low = unit(k + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++k;
        AppendUtf8(out, cp);
        continue;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      error_at = out.size();
      return out;
    }
    AppendUtf8(out, cp);
  }
  if (bytes.size() % 2 != 0) error_at = out.size();
  return out;
}

// The value of the encoding pseudo-attribute of an XML declaration at the start of
// `text` (ASCII-compatible bytes), or "" when there is no declaration or no encoding.
std::string DeclarationEncoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml") return "";
  if (text.size() > 5 && text[5] != ' ' && text[5] != '\t' && text[5] != '\r' && text[5] != '\n') {
    return "";
  }
  const std::size_t end = text.find("?>");
  if (end == std::string_view::npos) return "";  // the parser reports it
  const std::string_view decl = text.substr(0, end);
  std::size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return "";
  at += 8;
  auto skip_blanks = [&] {
    while (at < decl.size() &&
           (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' || decl[at] == '\n')) {
      ++at;
    }
  };
  skip_blanks();
  if (at >= decl.size() || decl[at] != '=') return "";
  ++at;
  skip_blanks();
  if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return "";
  const char quote = decl[at++];
  const std::size_t close = decl.find(quote, at);
  if (close == std::string_view::npos) return "";
  return std::string(decl.substr(at, close - at));
}

bool IsUtf8Name(const std::string& lower) {
  return lower == "utf-8" || lower == "utf8" || lower == "us-ascii" || lower == "ascii";
}
bool IsLatin1Name(const std::string& lower) {
  return lower == "iso-8859-1" || lower == "iso8859-1" || lower == "iso_8859-1" ||
         lower == "latin1" || lower == "latin-1";
}
bool IsCp1252Name(const std::string& lower) {
  return lower == "windows-1252" || lower == "cp1252" || lower == "x-cp1252";
}
bool IsUtf16Name(const std::string& lower) {
  return lower == "utf-16" || lower == "utf-16le" || lower == "utf-16be" || lower == "utf16";
}

// The document's bytes as UTF-8 (without BOM), whatever encoding they came in.
std::string ToUtf8(std::string owned, const std::string& name) {
  const std::string_view bytes = owned;
  auto unreadable = [&](const std::string& utf8, std::size_t offset, const std::string& what) {
    return NotWellFormed(name, utf8, offset, what);
  };
  // A byte order mark decides; without one, UTF-16 shows in the first "<?" or "<".
  ByteEncoding encoding = ByteEncoding::kUtf8;
  std::string_view body = bytes;
  bool marked = false;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    body = bytes.substr(3);
    marked = true;
  } else if (bytes.substr(0, 2) == "\xFF\xFE") {
    encoding = ByteEncoding::kUtf16Le;
    body = bytes.substr(2);
  } else if (bytes.substr(0, 2) == "\xFE\xFF") {
    encoding = ByteEncoding::kUtf16Be;
    body = bytes.substr(2);
  } else if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0') {
    encoding = ByteEncoding::kUtf16Le;
  } else if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<') {
    encoding = ByteEncoding::kUtf16Be;
  }

  if (encoding == ByteEncoding::kUtf16Le || encoding == ByteEncoding::kUtf16Be) {
    std::size_t error_at;
    std::string utf8 = Utf16ToUtf8(body, encoding == ByteEncoding::kUtf16Be, error_at);
    if (error_at != std::string::npos) {
      throw unreadable(utf8, error_at, "secuencia UTF-16 no v\xE1lida");
    }
    return utf8;
  }

  if (!marked) {
    const std::string declared = DeclarationEncoding(body);
    const std::string lower = LowerAscii(declared);
    if (declared.empty() || IsUtf8Name(lower)) {
      encoding = ByteEncoding::kUtf8;
    } else if (IsLatin1Name(lower)) {
      encoding = ByteEncoding::kLatin1;
    } else if (IsCp1252Name(lower)) {
      encoding = ByteEncoding::kCp1252;
    } else if (IsUtf16Name(lower)) {
      throw RunError("El archivo " + name + " declara la codificaci\xF3n \"" + declared +
                     "\" pero no empieza con la marca de orden de bytes de UTF-16.");
    } else {
      throw RunError("El archivo " + name + " declara la codificaci\xF3n \"" + declared +
                     "\", que no se puede leer (se leen UTF-8, UTF-16, ISO-8859-1 y "
                     "windows-1252).");
    }
  }

  switch (encoding) {
    case ByteEncoding::kLatin1:
    case ByteEncoding::kCp1252:
      // Files declared ISO-8859-1 on Windows often hold windows-1252 bytes (the euro
      // sign, curly quotes); read both as windows-1252, which contains ISO-8859-1's
      // printable characters, as web browsers do.
      return Cp1252ToUtf8(body);
    default: {
      const std::size_t bad = FindInvalidUtf8(body);
      if (bad != std::string_view::npos) {
        throw unreadable(std::string(body), bad,
                         "contiene bytes que no son UTF-8 v\xE1lido; declare su codificaci\xF3n "
                         "(por ejemplo encoding=\"windows-1252\")");
      }
      owned.erase(0, bytes.size() - body.size());  // the byte order mark
      return owned;
    }
  }
}

// ---- Output ---------------------------------------------------------------------------

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, std::size_t size) override {
    out_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& out_;
};

}  // namespace

// ---- Node ---------------------------------------------------------------------------

bool Node::IsElement() const { return Handle(node_).type() == pugi::node_element; }

bool Node::IsBlankText() const {
  const pugi::xml_node node = Handle(node_);
  if (node.type() != pugi::node_pcdata) return false;
  for (const pugi::char_t* c = node.value(); *c; ++c) {
    if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n') return false;
  }
  return true;
}

std::string Node::Name() const {
  const pugi::xml_node node = Handle(node_);
  return node.type() == pugi::node_element ? ToCp1252(node.name()) : std::string();
}

std::string Node::Text() const {
  const pugi::xml_node node = Handle(node_);
  switch (node.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
      return ToCp1252(node.value());
    case pugi::node_element:
      break;
    default:
      return "";
  }
  // The usual field: one text child.
  const pugi::xml_node first = node.first_child();
  if (first && !first.next_sibling() &&
      (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata)) {
    return ToCp1252(first.value());
  }
  std::string utf8;
  pugi::xml_node current = first;
  while (current && current != node) {
    if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata) {
      utf8 += current.value();
    }
    if (current.type() == pugi::node_element && current.first_child()) {
      current = current.first_child();
      continue;
    }
    while (current != node && !current.next_sibling()) current = current.parent();
    if (current != node) current = current.next_sibling();
  }
  return Utf8ToCp1252(utf8);
}

std::string Node::Attribute(std::string_view name) const {
  const std::string key = Cp1252ToUtf8(name);
  return ToCp1252(Handle(node_).attribute(key.c_str()).value());
}

Node Node::FirstChild() const { return Node(Handle(node_).first_child().internal_object()); }

std::vector<Node> Node::ChildElements(std::string_view name) const {
  const std::string key = Cp1252ToUtf8(name);
  std::vector<Node> out;
  for (pugi::xml_node child = Handle(node_).child(key.c_str()); child;
       child = child.next_sibling(key.c_str())) {
    out.emplace_back(child.internal_object());
  }
  return out;
}

Node Node::AppendElement(std::string_view name) {
  const std::string key = Cp1252ToUtf8(name);
  return Node(Handle(node_).append_child(key.c_str()).internal_object());
}

namespace {

// A value as XML 1.0 can hold it: the control characters it forbids (all below the blank
// but tab, line feed and carriage return) become "?", so that every reader loads the file.
std::string XmlValue(std::string_view text) {
  std::string utf8 = Cp1252ToUtf8(text);
  for (char& c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  }
  return utf8;
}

}  // namespace

void Node::SetAttribute(std::string_view name, std::string_view value) {
  pugi::xml_node node = Handle(node_);
  if (!node) return;
  const std::string key = Cp1252ToUtf8(name);
  pugi::xml_attribute attribute = node.attribute(key.c_str());
  if (!attribute) attribute = node.append_attribute(key.c_str());
  attribute.set_value(XmlValue(value).c_str());
}

void Node::SetAttribute(std::string_view name, long long value) {
  SetAttribute(name, std::to_string(value));
}

void Node::SetText(std::string_view text) {
  pugi::xml_node node = Handle(node_);
  if (node.type() != pugi::node_element) return;
  while (node.first_child()) node.remove_child(node.first_child());
  if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(XmlValue(text).c_str());
}

// ---- Document -----------------------------------------------------------------------

struct Document::Impl {
  pugi::xml_document document;
  // The text pugixml parsed in place: element names and texts point into it.
  std::string buffer;
};

namespace {

std::string ReadFileBytes(const fs::path& file, const std::string& name) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw RunError("No se puede abrir el archivo " + name + ".");
  std::string bytes;
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (!ec) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
  }
  bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) throw RunError("No se puede leer el archivo " + name + ".");
  return bytes;
}

RunError TooLargeForMemory(const fs::path& file, const std::string& name) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  const std::string bytes = ec ? std::string() : " (" + std::to_string(size) + " bytes)";
  return RunError("El archivo " + name + bytes +
                  " es demasiado grande para la memoria disponible: no se puede leer.");
}

// A node at document level, and where the text it was parsed from lies in the file's
// text: the byte at `parsed` is the one at `offset` there.
struct TopNode {
  pugi::xml_node node;
  const pugi::char_t* parsed;
  std::size_t offset;
  std::size_t OffsetOf(const pugi::char_t* text) const {
    return offset + static_cast<std::size_t>(text - parsed);
  }
};

// A fragment may hold several elements, or none, and text at document level; XML not.
// `end` is the size of the file's text, which `original` gives.
void CheckDocumentLevel(const std::vector<TopNode>& top, std::size_t end, const std::string& name,
                        const std::function<std::string()>& original) {
  int elements = 0;
  for (const TopNode& at : top) {
    const pugi::xml_node node = at.node;
    if (node.type() == pugi::node_element && ++elements == 2) {
      throw NotWellFormed(name, original(), at.OffsetOf(node.name()) - 1,
                          "tiene m\xE1s de un elemento ra\xEDz");
    }
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
      const std::string text = original();
      throw NotWellFormed(name, text, text.find_first_not_of(" \t\r\n", at.OffsetOf(node.value())),
                          "tiene texto fuera del elemento ra\xEDz");
    }
  }
  if (elements == 0) {
    throw NotWellFormed(name, original(), end, ParseReason(pugi::status_no_document_element));
  }
}

// Parses UTF-8 text, kept in `buffer`, into `document`; throws RunError unless it is one
// well-formed document. Parsing in place changes the buffer, so the places of errors are
// counted in the text `original` gives again.
void ParseInto(pugi::xml_document& document, std::string& buffer, const std::string& name,
               const std::function<std::string()>& original) {
  if (buffer.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw RunError("El archivo " + name + " no es un XML bien formado: est\xE1 vac\xEDo.");
  }
  const pugi::xml_parse_result parsed =
      document.load_buffer_inplace(buffer.data(), buffer.size(), kParseFlags, pugi::encoding_utf8);
  if (!parsed) {
    throw NotWellFormed(name, original(), static_cast<std::size_t>(parsed.offset),
                        ParseReason(parsed.status));
  }
  std::vector<TopNode> top;
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    top.push_back({node, buffer.data(), 0});
  }
  CheckDocumentLevel(top, buffer.size(), name, original);
}

}  // namespace

Document::Document() : impl_(std::make_unique<Impl>()) {}
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

namespace {

// Reads and works on the whole text of a file: a folder, a named pipe or a device is
// refused before it is opened (reading a pipe would wait for a writer, and a device such
// as /dev/zero never ends), and a file too large for the memory is reported as such.
template <typename Work>
auto WithFileText(const fs::path& file, const std::string& name, Work work) {
  env::RequireReadableFile(file);
  try {
    return work([&] { return ToUtf8(ReadFileBytes(file, name), name); });
  } catch (const std::bad_alloc&) {
    throw TooLargeForMemory(file, name);
  } catch (const std::length_error&) {
    throw TooLargeForMemory(file, name);
  }
}

}  // namespace

Document Document::Load(const fs::path& file) {
  const std::string name = FileLabel(file);
  return WithFileText(file, name, [&](const std::function<std::string()>& read) {
    Document result;
    result.impl_->buffer = read();
    ParseInto(result.impl_->document, result.impl_->buffer, name, read);
    return result;
  });
}

Document Document::Parse(std::string_view bytes, const std::string& name) {
  Document result;
  result.impl_->buffer = ToUtf8(std::string(bytes), name);
  ParseInto(result.impl_->document, result.impl_->buffer, name,
            [&] { return ToUtf8(std::string(bytes), name); });
  return result;
}

Node Document::Root() const { return Node(impl_->document.document_element().internal_object()); }

std::vector<Node> Document::TopLevelNodes() const {
  std::vector<Node> out;
  for (pugi::xml_node node = impl_->document.first_child(); node; node = node.next_sibling()) {
    out.emplace_back(node.internal_object());
  }
  return out;
}

std::string Document::DeclaredEncoding() const {
  for (pugi::xml_node node = impl_->document.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_declaration) return ToCp1252(node.attribute("encoding").value());
  }
  return "";
}

void Document::RemoveRoot() {
  pugi::xml_node root = impl_->document.document_element();
  if (root) impl_->document.remove_child(root);
}

Node Document::AppendRoot(std::string_view name) {
  const std::string key = Cp1252ToUtf8(name);
  return Node(impl_->document.append_child(key.c_str()).internal_object());
}

namespace {

// The encoding the declaration kept from the input asks for, and the byte order mark
// written first ("UTF-16" without saying which order: little-endian with a mark).
Encoding EncodingFor(const std::string& declared, std::string& byte_order_mark) {
  if (declared == "utf-16" || declared == "utf16") {
    byte_order_mark = "\xFF\xFE";
    return Encoding::kUtf16Le;
  }
  if (declared == "utf-16le") return Encoding::kUtf16Le;
  if (declared == "utf-16be") return Encoding::kUtf16Be;
  return Encoding::kUtf8;
}

pugi::xml_encoding PugiEncoding(Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf16Le:
      return pugi::encoding_utf16_le;
    case Encoding::kUtf16Be:
      return pugi::encoding_utf16_be;
    default:
      return pugi::encoding_utf8;
  }
}

}  // namespace

void AppendEncoded(std::string& out, std::string_view utf8, Encoding encoding) {
  if (encoding == Encoding::kUtf8) {
    out += utf8;
    return;
  }
  const bool little = encoding == Encoding::kUtf16Le;
  auto unit = [&](char32_t u) {
    const char bytes[2] = {static_cast<char>(little ? u & 0xFF : u >> 8),
                           static_cast<char>(little ? u >> 8 : u & 0xFF)};
    out.append(bytes, 2);
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {  // most of the text
      unit(b);
      ++i;
      continue;
    }
    const std::size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    char32_t cp = b & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra && i + k < utf8.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
}

namespace {

// Document-level nodes as Save writes them, in the encoding the declaration asks for
// (`declared` in lower case).
Prolog SerializeNodes(const std::vector<pugi::xml_node>& nodes, const std::string& declared) {
  Prolog prolog;
  std::string& out = prolog.bytes;
  prolog.encoding = EncodingFor(declared, out);
  const bool rewrite_declaration = !declared.empty() && prolog.encoding == Encoding::kUtf8 &&
                                   declared != "utf-8" && declared != "utf8";
  StringWriter writer(out);
  for (const pugi::xml_node& node : nodes) {
    if (node.type() == pugi::node_declaration && rewrite_declaration) {
      // The text is written as UTF-8, so the declaration must say so.
      std::string declaration = "<?xml";
      for (pugi::xml_attribute attribute : node.attributes()) {
        const std::string key = attribute.name();
        declaration += " " + key + "=\"" +
                       (key == "encoding" ? std::string("UTF-8") : attribute.value()) + "\"";
      }
      declaration += "?>";
      AppendEncoded(out, declaration, prolog.encoding);
    } else {
      node.print(writer, PUGIXML_TEXT(""), pugi::format_raw, PugiEncoding(prolog.encoding), 0);
    }
    AppendEncoded(out, "\n", prolog.encoding);
  }
  return prolog;
}

// The document-level nodes, the root element left out when asked.
std::vector<pugi::xml_node> TopLevel(const pugi::xml_document& document, bool with_root) {
  std::vector<pugi::xml_node> nodes;
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    if (with_root || node.type() != pugi::node_element) nodes.push_back(node);
  }
  return nodes;
}

}  // namespace

std::string Document::Serialize() const {
  return SerializeNodes(TopLevel(impl_->document, true), LowerAscii(DeclaredEncoding())).bytes;
}

Prolog Document::PrologWithoutRoot() const {
  return SerializeNodes(TopLevel(impl_->document, false), LowerAscii(DeclaredEncoding()));
}

void Document::Save(const fs::path& file) const {
  ReplacingFile out(file);
  out.Write(Serialize());
  out.Commit();
}

// ---- Loading in parts ------------------------------------------------------------------

namespace {

// A part of a document's text, and the elements open around it (outermost first), whose
// start tags are put before it and end tags after it, so that the parser takes the part
// for a whole document and checks each of the part's tags against the elements really
// open there. Each tag of the text lies in one part only, so the parts together are
// checked as the whole text would be.
struct Part {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::vector<std::string_view> open_before;
  std::vector<std::string_view> open_after;  // none after the last part
  bool last = false;
};

constexpr std::string_view kNameEnds = " \t\r\n/>";

// The place after the '>' that ends the tag starting at `lt`, quoted values passed
// over; npos when there is none.
std::size_t TagEnd(std::string_view text, std::size_t lt) {
  for (std::size_t i = lt + 1; i < text.size(); ++i) {
    if (text[i] == '"' || text[i] == '\'') {
      i = text.find(text[i], i + 1);
      if (i == std::string_view::npos) return i;
    } else if (text[i] == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// The place after a markup declaration starting at `lt` ("<!DOCTYPE ...>" with its
// internal subset in brackets, comments and quoted texts in it passed over).
std::size_t DeclarationEnd(std::string_view text, std::size_t lt) {
  int brackets = 0;
  for (std::size_t i = lt + 2; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      i = text.find(c, i + 1);
      if (i == std::string_view::npos) return i;
    } else if (text.substr(i, 4) == "<!--") {
      i = text.find("-->", i + 4);
      if (i == std::string_view::npos) return i;
      i += 2;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    } else if (c == '>' && brackets <= 0) {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// Cuts `text` into parts of at least `part_bytes` bytes and hands each to `parse`, in
// order. A part ends after an end tag or an empty-element tag inside the root element,
// and only once the first element child of the root's first BLOQUE_DATOS has ended (so
// the first part holds the beginning a caller asks for). Where the text is not
// well-formed, the rest goes into the last part, for the parser to find what is wrong.
void CutIntoParts(std::string_view text, std::size_t part_bytes,
                  const std::function<void(const Part&)>& parse) {
  constexpr std::size_t npos = std::string_view::npos;
  std::vector<std::string_view> open;
  Part part;
  enum { kBeforeBlock, kInBlock, kAfterBlock } block = kBeforeBlock;  // the first BLOQUE_DATOS
  std::size_t pos = 0;
  while (true) {
    const std::size_t lt = text.find('<', pos);
    if (lt == npos) break;
    const std::string_view rest = text.substr(lt);
    std::size_t after;
    bool ended = false;  // an element ends here
    if (rest.starts_with("<!--")) {
      after = text.find("-->", lt + 4);
      after = after == npos ? npos : after + 3;
    } else if (rest.starts_with("<![CDATA[")) {
      after = text.find("]]>", lt + 9);
      after = after == npos ? npos : after + 3;
    } else if (rest.starts_with("<?")) {
      after = text.find("?>", lt + 2);
      after = after == npos ? npos : after + 2;
    } else if (rest.starts_with("<!")) {
      after = DeclarationEnd(text, lt);
    } else {
      after = TagEnd(text, lt);
      if (after == npos) break;
      if (rest.starts_with("</")) {
        if (open.empty()) break;
        open.pop_back();
        ended = true;
      } else {
        const std::string_view name = rest.substr(1, rest.find_first_of(kNameEnds, 1) - 1);
        const bool empty = text[after - 2] == '/';
        if (block == kBeforeBlock && open.size() == 1 && name == "BLOQUE_DATOS") {
          block = empty ? kAfterBlock : kInBlock;
        }
        if (empty) {
          ended = true;
        } else {
          open.push_back(name);
        }
      }
      if (ended && block == kInBlock && open.size() <= 2) block = kAfterBlock;
    }
    if (after == npos) break;
    pos = after;
    if (ended && block == kAfterBlock && !open.empty() && pos - part.begin >= part_bytes) {
      part.end = pos;
      part.open_after = open;
      parse(part);
      part = Part{pos, 0, open, {}, false};
    }
  }
  part.end = text.size();
  part.open_after.clear();
  part.last = true;
  parse(part);
}

}  // namespace

Prolog Document::LoadInParts(const fs::path& file,
                             const std::function<void(const Document&)>& beginning,
                             std::size_t part_bytes) {
  const std::string name = FileLabel(file);
  return WithFileText(file, name, [&](const std::function<std::string()>& read) {
    return LoadTextInParts(read(), name, beginning, part_bytes);
  });
}

Prolog Document::ParseInParts(std::string_view bytes, const std::string& name,
                              const std::function<void(const Document&)>& beginning,
                              std::size_t part_bytes) {
  return LoadTextInParts(ToUtf8(std::string(bytes), name), name, beginning, part_bytes);
}

Prolog Document::LoadTextInParts(const std::string& text, const std::string& name,
                                 const std::function<void(const Document&)>& beginning,
                                 std::size_t part_bytes) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw RunError("El archivo " + name + " no es un XML bien formado: est\xE1 vac\xEDo.");
  }
  // The first part (the prolog and the beginning) and the last (what follows the root)
  // are kept; the parts between are released once checked.
  Document first, last;
  std::size_t first_prefix = 0, last_prefix = 0, last_begin = 0;
  CutIntoParts(text, part_bytes, [&](const Part& part) {
    Document parsed;
    std::string& chunk = parsed.impl_->buffer;
    for (const std::string_view element : part.open_before) {
      chunk += '<';
      chunk += element;
      chunk += '>';
    }
    const std::size_t prefix = chunk.size();
    chunk += std::string_view(text).substr(part.begin, part.end - part.begin);
    for (auto element = part.open_after.rbegin(); element != part.open_after.rend(); ++element) {
      chunk += "</";
      chunk += *element;
      chunk += '>';
    }
    const pugi::xml_parse_result parsed_part = parsed.impl_->document.load_buffer_inplace(
        chunk.data(), chunk.size(), kParseFlags, pugi::encoding_utf8);
    if (!parsed_part) {
      const auto offset = static_cast<std::size_t>(parsed_part.offset);
      const std::size_t at =
          part.begin + std::min(offset < prefix ? 0 : offset - prefix, part.end - part.begin);
      throw NotWellFormed(name, text, at, ParseReason(parsed_part.status));
    }
    if (part.begin == 0) {
      first = std::move(parsed);
      first_prefix = prefix;
    } else if (part.last) {
      last = std::move(parsed);
      last_prefix = prefix;
      last_begin = part.begin;
    }
  });

  // The document-level nodes: those of the first part, then those of the last part after
  // the element standing for the root that its part began in.
  std::vector<TopNode> top;
  for (pugi::xml_node node = first.impl_->document.first_child(); node;
       node = node.next_sibling()) {
    top.push_back({node, first.impl_->buffer.data() + first_prefix, 0});
  }
  if (last_begin > 0) {
    for (pugi::xml_node node = last.impl_->document.first_child().next_sibling(); node;
         node = node.next_sibling()) {
      top.push_back({node, last.impl_->buffer.data() + last_prefix, last_begin});
    }
  }
  CheckDocumentLevel(top, text.size(), name, [&] { return text; });

  beginning(first);
  std::vector<pugi::xml_node> outside_root;
  for (const TopNode& at : top) {
    if (at.node.type() != pugi::node_element) outside_root.push_back(at.node);
  }
  return SerializeNodes(outside_root, LowerAscii(first.DeclaredEncoding()));
}

}  // namespace tv::xml
