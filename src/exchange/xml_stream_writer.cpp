#include "exchange/xml_stream_writer.h"

#include <cassert>
#include <utility>

#include "util/cp1252.h"

namespace tv::xml {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// Appends a code page 1252 value in UTF-8, as the document's serializer writes it after
// it turns a value into UTF-8: the control characters XML cannot hold become "?"; in a text & < >
// are escaped (tab, line feed and carriage return stay); in an attribute value, written between
// double quotes, & < " are escaped, and tab, line feed and carriage return become two-digit
// character references ("&#09;"); a single quote, and > in an attribute, stay. Runs of plain ASCII,
// nearly all of an exchange file, are copied at once.
void AppendValue(std::string& out, std::string_view text, bool attribute) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const char quoted = attribute ? '"' : '>';
  while (p < end) {
    const char* const run = p;
    while (p < end && static_cast<unsigned char>(*p) >= 0x20 &&
           static_cast<unsigned char>(*p) < 0x80 && *p != '&' && *p != '<' && *p != quoted) {
      ++p;
    }
    out.append(run, static_cast<std::size_t>(p - run));
    if (p == end) break;
    const auto c = static_cast<unsigned char>(*p++);
    if (c >= 0x80) {
      AppendUtf8(out, Cp1252ToCodePoint(c));
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c != '\t' && c != '\n' && c != '\r') {
      out += '?';
    } else if (attribute) {
      out += "&#";
      out += static_cast<char>('0' + c / 10);
      out += static_cast<char>('0' + c % 10);
      out += ';';
    } else {
      out += static_cast<char>(c);
    }
  }
}

// Appends an element or attribute name in UTF-8.
void AppendName(std::string& out, std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c;
    } else {
      AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
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
  std::string utf8;
  AppendName(utf8, name);
  buffer_ += '<';
  buffer_ += utf8;
  open_.push_back(std::move(utf8));
  start_tag_open_ = true;
}

void StreamWriter::Attribute(std::string_view name, std::string_view value) {
  assert(start_tag_open_);
  buffer_ += ' ';
  AppendName(buffer_, name);
  buffer_ += "=\"";
  AppendValue(buffer_, value, true);
  buffer_ += '"';
}

void StreamWriter::Text(std::string_view text) {
  if (text.empty()) return;
  CloseStartTag();
  AppendValue(buffer_, text, false);
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
