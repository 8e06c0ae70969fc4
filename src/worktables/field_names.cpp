#include "worktables/field_names.h"

#include <algorithm>
#include <cstdint>

#include "util/text.h"

namespace tv::worktables {

namespace {

constexpr std::size_t kShortNameLength = 10;

}  // namespace

FieldNames::FieldNames(std::vector<std::string> names) : names_(std::move(names)) {}

std::size_t FieldNames::Find(std::string_view name) {
  const auto address = reinterpret_cast<std::uintptr_t>(name.data());
  Recent& recent = recent_[(address ^ (address >> 6)) % recent_.size()];
  if (recent.address == name.data() && recent.size == name.size() &&
      std::equal(name.begin(), name.end(), recent.spelling)) {
    return recent.index;
  }
  std::size_t index;
  if (const auto known = known_.find(name); known != known_.end()) {
    index = known->second;
  } else {
    index = Search(name);
    if (index == names_.size()) return index;
    // Callers spell a handful of names, so this stays small; a bound keeps it so.
    if (known_.size() < 4 * names_.size() + 64) known_.emplace(std::string(name), index);
  }
  if (name.size() <= Recent::kRoom) {
    recent.address = name.data();
    recent.size = name.size();
    std::copy(name.begin(), name.end(), recent.spelling);
    recent.index = index;
  }
  return index;
}

std::size_t FieldNames::Search(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (EqualIgnoringAsciiCase(names_[i], name)) return i;
  }
  // A table whose names an older writer cut to 10 characters.
  if (name.size() > kShortNameLength) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (names_[i].size() == kShortNameLength &&
          EqualIgnoringAsciiCase(names_[i], name.substr(0, kShortNameLength))) {
        return i;
      }
    }
  }
  return names_.size();
}

}  // namespace tv::worktables
