// The one error type by which a run stops. It carries the message the user reads:
// the system's own Spanish text, plus what and where (file, block, record, field),
// as 8-bit code page 1252 text like every other text of the core.
#pragma once

#include <stdexcept>
#include <string>

namespace tv {

class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& message_cp1252) : std::runtime_error(message_cp1252) {}
  // The message, in code page 1252.
  const std::string& message() const { return message_; }

 private:
  std::string message_ = what();
};

// The conversion error of a text that is not a whole number that fits 32 bits:
// "'%s' no es un valor entero válido", the text in place of %s.
RunError NotAnInteger(const std::string& text_cp1252);

// Reads a whole number: an optional sign, then decimal digits, or "$" followed by
// hexadecimal digits (a handle given on the command line). Nothing else is allowed.
// Throws NotAnInteger when the text is not such a number or does not fit 32 bits.
int ParseInteger(const std::string& text_cp1252);

}  // namespace tv
