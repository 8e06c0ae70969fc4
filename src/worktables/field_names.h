// Finding a field of an open table by the name a caller spells: letter case does not
// matter, and in a table whose names an older writer cut to 10 characters a longer name
// finds the field by its first 10. Lookups are cheap enough to repeat for every field of
// every row: a name passed again at the same address is recognised without hashing.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tv::worktables {

class FieldNames {
 public:
  FieldNames() = default;
  explicit FieldNames(std::vector<std::string> names);

  // The field's position, or Size() when the table has no such field.
  std::size_t Find(std::string_view name);
  std::size_t Size() const { return names_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  // The field last found for a name text at a given address, checked against the
  // spelling before it is used.
  struct Recent {
    static constexpr std::size_t kRoom = 24;
    const char* address = nullptr;
    std::size_t size = 0;
    char spelling[kRoom] = {};
    std::size_t index = 0;
  };

  std::size_t Search(std::string_view name) const;

  std::vector<std::string> names_;
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> known_;
  std::array<Recent, 64> recent_{};
};

}  // namespace tv::worktables
