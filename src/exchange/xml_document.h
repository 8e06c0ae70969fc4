// The XML document service: every exchange file is read and written through it.
// pugixml does the parsing and writing; nothing outside src/exchange sees pugixml.
// Texts going in and out are code page 1252; the document itself holds Unicode.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

namespace tv::xml {

// A cheap handle on a node of a Document (an element, or a text, comment, declaration
// or processing-instruction node). A null handle stands for "no such node"; every
// query on it gives the empty answer. A handle lives no longer than its Document.
class Node {
 public:
  Node() = default;
  bool IsNull() const { return node_ == nullptr; }
  bool IsElement() const;
  // A text node of white space only. The parser keeps one only as an element's whole
  // content (so a field "<dato> </dato>" reads " "); elsewhere white space is no node.
  bool IsBlankText() const;
  // The element's name (empty for other nodes).
  std::string Name() const;
  // The text content: all text below the node, concatenated in document order.
  std::string Text() const;
  std::string Attribute(std::string_view name) const;
  Node FirstChild() const;
  // The element children with this name, in document order.
  std::vector<Node> ChildElements(std::string_view name) const;

  // Building (the output document): a new last child element, attributes in the
  // order they are first set, the element's content replaced by a text.
  Node AppendElement(std::string_view name);
  void SetAttribute(std::string_view name, std::string_view value);
  void SetAttribute(std::string_view name, long long value);
  void SetText(std::string_view text);

  explicit Node(pugi::xml_node_struct* node) : node_(node) {}
  pugi::xml_node_struct* raw() const { return node_; }
  friend bool operator==(const Node&, const Node&) = default;

 private:
  pugi::xml_node_struct* node_ = nullptr;
};

// The character encodings a document is written in.
enum class Encoding { kUtf8, kUtf16Le, kUtf16Be };

// What a saved document holds outside its root element, for a new root written after it
// as a stream (StreamWriter): every document-level node but the root element, each
// followed by a line break, as Save writes them (the byte order mark first when Save
// writes one), and the encoding Save writes the document in.
struct Prolog {
  std::string bytes;
  Encoding encoding = Encoding::kUtf8;
};

// Appends UTF-8 text to `out` in `encoding`.
void AppendEncoded(std::string& out, std::string_view utf8, Encoding encoding);

class Document {
 public:
  Document();
  ~Document();
  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;

  // Loads an exchange file. UTF-8 (with or without BOM), UTF-16 with BOM, and the
  // declared encodings ISO-8859-1 and windows-1252 are read. Throws RunError, naming
  // the file, when the file cannot be read, declares an encoding we do not know, or
  // is not well-formed XML (the parser's reason with line and column). White space
  // between elements is not kept as nodes; the XML declaration is kept.
  static Document Load(const std::filesystem::path& file);
  // The same from bytes in memory; `name` stands for the file in messages.
  static Document Parse(std::string_view bytes, const std::string& name);

  // Reads a file whose root element is not needed whole, such as a big file whose prolog
  // and beginning are all a caller needs: checks the whole file as Load does, with the
  // same errors, but parses it in parts of about `part_bytes` bytes, each released before
  // the next is parsed, so the memory does not grow with the file's tree. `beginning` is
  // called once the whole file has passed, with a document of its first part: the nodes
  // before the root element, and the root element with its content from its start to at
  // least the end of the first element child of its first BLOQUE_DATOS (what follows is
  // left out). Returns what PrologWithoutRoot gives for the whole document.
  static Prolog LoadInParts(const std::filesystem::path& file,
                            const std::function<void(const Document&)>& beginning,
                            std::size_t part_bytes = kPartBytes);
  // The same from bytes in memory; `name` stands for the file in messages.
  static Prolog ParseInParts(std::string_view bytes, const std::string& name,
                             const std::function<void(const Document&)>& beginning,
                             std::size_t part_bytes = kPartBytes);
  static constexpr std::size_t kPartBytes = 4 << 20;

  // The root element, or a null node for a document without one.
  Node Root() const;
  // The nodes at document level (declaration, comments, processing instructions and
  // the root element), in document order.
  std::vector<Node> TopLevelNodes() const;
  // The encoding named by the XML declaration as written ("" when there is none).
  std::string DeclaredEncoding() const;

  // Building: removes the root element (other document-level nodes stay) and appends
  // a new root element as the document's last child.
  void RemoveRoot();
  Node AppendRoot(std::string_view name);

  // Writes the document without adding white space between elements (a line break
  // follows each document-level node). The bytes agree with the declaration kept from
  // the input: UTF-8 when there is none or it names UTF-8, UTF-16 when it names UTF-16
  // ("UTF-16" with a byte order mark, little-endian). A document read from an 8-bit
  // encoding (ISO-8859-1, windows-1252) is written as UTF-8 and its declaration's
  // encoding becomes "UTF-8", so no character is ever lost. The file is
  // written beside `file` and moved over it once complete, so a failure never leaves a
  // half-written or lost file. Throws RunError naming the file.
  void Save(const std::filesystem::path& file) const;
  // The bytes Save would write.
  std::string Serialize() const;
  // What Save would write of the document without its root element, and in which encoding.
  Prolog PrologWithoutRoot() const;

 private:
  static Prolog LoadTextInParts(const std::string& text, const std::string& name,
                                const std::function<void(const Document&)>& beginning,
                                std::size_t part_bytes);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tv::xml
