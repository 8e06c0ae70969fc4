// Elements written into a Document's tree instead of a stream: what Document::Save then
// writes is what a StreamWriter must write for the same calls, byte for byte.
#pragma once

#include <vector>

#include "exchange/xml_document.h"
#include "exchange/xml_stream_writer.h"

namespace tv::xml {

class TreeWriter : public ElementWriter {
 public:
  // The elements replace the document's root element.
  explicit TreeWriter(Document& document) : document_(document) { document_.RemoveRoot(); }

  void StartElement(std::string_view name) override {
    open_.push_back(open_.empty() ? document_.AppendRoot(name) : open_.back().AppendElement(name));
  }
  void Attribute(std::string_view name, std::string_view value) override {
    open_.back().SetAttribute(name, value);
  }
  void Text(std::string_view text) override {
    if (!text.empty()) open_.back().SetText(text);
  }
  void EndElement() override { open_.pop_back(); }
  using ElementWriter::Attribute;

 private:
  Document& document_;
  std::vector<Node> open_;
};

}  // namespace tv::xml
