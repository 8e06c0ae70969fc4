// A lookup built once from a table walked in its physical order: the first row with a
// given key wins, exactly as a walk from the first row that stops at the first match.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tv {

// One key made of two field values. The length of the first value is part of the key,
// so ("AB", "C") and ("A", "BC") stay apart whatever characters the values hold.
inline std::string PairKey(std::string_view first, std::string_view second) {
  std::string key = std::to_string(first.size());
  key += ':';
  key += first;
  key += second;
  return key;
}

template <typename Value>
class FirstMatchIndex {
 public:
  // Keeps `value` only when no earlier row had this key. Returns whether it was kept.
  bool Add(std::string key, Value value) {
    return map_.try_emplace(std::move(key), std::move(value)).second;
  }
  // The value of the first row with this key, or null.
  const Value* Find(const std::string& key) const {
    const auto found = map_.find(key);
    return found == map_.end() ? nullptr : &found->second;
  }
  std::size_t Size() const { return map_.size(); }

 private:
  std::unordered_map<std::string, Value> map_;
};

}  // namespace tv
