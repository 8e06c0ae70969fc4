#include "export/code_list.h"

#include "util/text.h"

namespace tv {

std::string StoredCode(std::string_view code) {
  if (code.size() <= 10) return std::string(code);
  return std::string(code.substr(0, 8)) + std::string(code.substr(code.size() - 2));
}

std::string CodeList::Key(std::string_view code) const {
  std::string key = RTrim(code);
  return letter_case_ == Case::kIgnored ? FoldCase1252(key) : key;
}

bool CodeList::Contains(std::string_view code) const { return codes_.contains(Key(code)); }

void CodeList::Add(std::string_view code) { codes_.insert(Key(code)); }

std::optional<std::string> CodeList::GiveOut(std::string_view first_try, std::string_view base) {
  std::string code = RTrim(first_try);
  if (!Contains(code)) {
    Add(code);
    return code;
  }
  // The number follows the code as given: 'VO ' numbered is 'VO 1'. Only the
  // comparison leaves trailing blanks out, and a candidate ends in a digit.
  const std::string stem(base);
  std::size_t& last = last_number_[stem];
  // Among the candidates 1 .. size + 110 there are either size + 1 different stored forms
  // (so one is free) or every stored form the base has (at most 109 once shortened, or
  // all of them for a short base whose numbers are cut back to the same forms).
  const std::size_t limit = codes_.size() + 110;
  for (std::size_t number = last + 1; number <= limit; ++number) {
    std::string candidate = StoredCode(stem + std::to_string(number));
    if (!Contains(candidate)) {
      last = number;
      Add(candidate);
      return candidate;
    }
  }
  last = limit;
  return std::nullopt;
}

}  // namespace tv
