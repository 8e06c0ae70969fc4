// The lists of codes already given out by a code-making step, and the rule by which a
// step makes a code unique: the code itself when it is free, else the first free one of
// the numbered candidates code1, code2, ... Codes are compared as a character field of
// ten will store them: without trailing blanks (the field pads with blanks anyway), and,
// in the teacher, room and group lists, regardless of letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tv {

// The stored form of a code: a text longer than 10 characters becomes its first 8
// characters followed by its last 2; a shorter one stays as it is.
std::string StoredCode(std::string_view code);

class CodeList {
 public:
  enum class Case { kSensitive, kIgnored };
  explicit CodeList(Case letter_case) : letter_case_(letter_case) {}

  bool Contains(std::string_view code) const;
  void Add(std::string_view code);
  std::size_t Size() const { return codes_.size(); }

  // Gives out a code and adds it to the list: `first_try` without its trailing blanks
  // when that is free, otherwise the first free candidate StoredCode(base + "1"),
  // StoredCode(base + "2"), ... (`base` as given, so 'VO ' gives 'VO 1'). The numbered
  // candidates of a base are finite once shortened, so the search is bounded: nothing
  // is returned when every candidate is taken (the caller reports the record).
  std::optional<std::string> GiveOut(std::string_view first_try, std::string_view base);

 private:
  std::string Key(std::string_view code) const;

  Case letter_case_;
  std::unordered_set<std::string> codes_;
  // For each base, the last number given out: the list only grows, so the candidates
  // up to it are still taken and the next search starts after it.
  std::unordered_map<std::string, std::size_t> last_number_;
};

}  // namespace tv
