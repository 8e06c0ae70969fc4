// Writing an exchange file element by element, for a document too big to hold as a
// tree: the bytes go straight to the file, and are those Document::Save writes for the
// same nodes (no white space between elements, an empty element as "<a/>", the same
// escaping, the same encoding).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/replacing_file.h"
#include "exchange/xml_document.h"

namespace tv::xml {

// Where the elements of a document being built go, one call after another in document
// order. Names and texts are code page 1252.
class ElementWriter {
 public:
  virtual ~ElementWriter() = default;
  // A new element, the last child of the element open now (the root element first).
  virtual void StartElement(std::string_view name) = 0;
  // An attribute of the element just started, before any of its content.
  virtual void Attribute(std::string_view name, std::string_view value) = 0;
  void Attribute(std::string_view name, long long value) { Attribute(name, std::to_string(value)); }
  // The text content of the element open now; an empty text writes nothing.
  virtual void Text(std::string_view text) = 0;
  // Ends the element open now.
  virtual void EndElement() = 0;
};

// Writes a new root element after a document's prolog, beside the target file, and
// moves the file over the target once complete (Commit). A writer destroyed without
// Commit leaves no file behind and an earlier target as it was. Throws RunError naming
// the file when it cannot be written.
class StreamWriter : public ElementWriter {
 public:
  StreamWriter(const std::filesystem::path& file, const Prolog& prolog);

  void StartElement(std::string_view name) override;
  void Attribute(std::string_view name, std::string_view value) override;
  void Text(std::string_view text) override;
  void EndElement() override;
  using ElementWriter::Attribute;

  // Ends the root element's line and moves the complete file over the target. Every
  // element must have been ended.
  void Commit();

 private:
  void CloseStartTag();
  void FlushIfFull();
  void Flush();

  ReplacingFile file_;
  Encoding encoding_;
  std::string buffer_;  // UTF-8, written out in the file's encoding
  std::string encoded_;
  std::vector<std::string> open_;  // the names of the elements not yet ended
  bool start_tag_open_ = false;
};

}  // namespace tv::xml
