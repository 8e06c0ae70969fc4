#include "exchange/xml_stream_writer.h"

#include <cassert>

namespace tv::xml {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// Escapes as the document's serializer does. In a text: & < > (tab, line feed and
// carriage return stay as they are). In an attribute value, written between double
// quotes: & < " and the characters below the blank, as two-digit character references
// ("&#09;"); a single quote and > stay as they are.
void AppendEscaped(std::string& out, std::string_view utf8, bool attribute) {
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        if (attribute) {
          out += c;
        } else {
          out += "&gt;";
        }
        break;
      case '"':
        if (attribute) {
          out += "&quot;";
        } else {
          out += c;
        }
        break;
      default:
        if (attribute && static_cast<unsigned char>(c) < 0x20) {
          const int code = static_cast<unsigned char>(c);
          out += "&#";
          out += static_cast<char>('0' + code / 10);
          out += static_cast<char>('0' + code % 10);
          out += ';';
        } else {
          out += c;
        }
    }
  }
}

}  // namespace

StreamWriter::StreamWriter(const std::filesystem::path& file, const Prolog& prolog)
    : file_(file), encoding_(prolog.encoding) {
  file_.Write(prolog.bytes);
  buffer_.reserve(kBufferSize + 4096);
}

void StreamWriter::CloseStartTag() {
  if (start_tag_open_) buffer_ += '>';
  start_tag_open_ = false;
}

void StreamWriter::StartElement(std::string_view name) {
  CloseStartTag();
  const std::string utf8 = XmlValue(name);
  buffer_ += '<';
  buffer_ += utf8;
  open_.push_back(utf8);
  start_tag_open_ = true;
}

void StreamWriter::Attribute(std::string_view name, std::string_view value) {
  assert(start_tag_open_);
  buffer_ += ' ';
  buffer_ += XmlValue(name);
  buffer_ += "=\"";
  AppendEscaped(buffer_, XmlValue(value), true);
  buffer_ += '"';
}

void StreamWriter::Text(std::string_view text) {
  if (text.empty()) return;
  CloseStartTag();
  AppendEscaped(buffer_, XmlValue(text), false);
}

void StreamWriter::EndElement() {
  assert(!open_.empty());
  if (start_tag_open_) {
    buffer_ += "/>";
    start_tag_open_ = false;
  } else {
    buffer_ += "</";
    buffer_ += open_.back();
    buffer_ += '>';
  }
  open_.pop_back();
  FlushIfFull();
}

void StreamWriter::FlushIfFull() {
  if (buffer_.size() >= kBufferSize) Flush();
}

void StreamWriter::Flush() {
  if (encoding_ == Encoding::kUtf8) {
    file_.Write(buffer_);
  } else {
    encoded_.clear();
    AppendEncoded(encoded_, buffer_, encoding_);
    file_.Write(encoded_);
  }
  buffer_.clear();
}

void StreamWriter::Commit() {
  assert(open_.empty());
  buffer_ += '\n';
  Flush();
  file_.Commit();
}

}  // namespace tv::xml
