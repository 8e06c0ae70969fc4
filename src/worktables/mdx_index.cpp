#include "worktables/mdx_index.h"

#include <algorithm>
#include <ctime>
#include <numeric>

#include "util/env.h"
#include "util/run_error.h"
#include "worktables/dbf_values.h"

namespace tv::worktables {

namespace {

constexpr std::size_t kPageSize = 512;
constexpr std::size_t kBlockSize = 1024;
constexpr std::uint32_t kPagesPerBlock = kBlockSize / kPageSize;
constexpr std::size_t kHeaderBytes = 2048;  // file header and tag table
constexpr std::size_t kTagTableStart = 544;
constexpr std::size_t kTagEntrySize = 32;
constexpr std::size_t kTagSlots = 48;
constexpr std::size_t kNumericKeyLength = 12;
constexpr std::size_t kKeyExpressionOffset = 24;
constexpr std::size_t kKeyExpressionRoom = 220;

void PutLittle(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittle(const std::string& in, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(in[at + i]);
  return value;
}

void PutDate(std::string& out, std::size_t at) {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  out[at] = static_cast<char>(local ? local->tm_year : 100);
  out[at + 1] = static_cast<char>(local ? local->tm_mon + 1 : 1);
  out[at + 2] = static_cast<char>(local ? local->tm_mday : 1);
}

bool IsNumeric(const DbfField& field) { return field.type == 'N' || field.type == 'F'; }

// Decodes a numeric key into a comparable (sign, exponent, digits) triple.
struct KeyOrder {
  bool negative;
  int exponent;
  std::string digits;
};

KeyOrder Decode(const std::string& key) {
  KeyOrder order;
  const auto byte1 = static_cast<unsigned char>(key[1]);
  order.negative = (byte1 & 0x80) != 0;
  order.exponent = static_cast<unsigned char>(key[0]) - 52;
  const int count = (byte1 >> 2) & 0x1F;
  for (int i = 0; i < count; ++i) {
    const auto b = static_cast<unsigned char>(key[2 + i / 2]);
    order.digits += static_cast<char>('0' + (i % 2 == 0 ? b >> 4 : b & 0x0F));
  }
  return order;
}

// Whether numeric key a sorts before b.
bool NumericLess(const std::string& a, const std::string& b) {
  const KeyOrder x = Decode(a), y = Decode(b);
  const bool x_zero = x.digits.empty(), y_zero = y.digits.empty();
  auto sign = [](const KeyOrder& k, bool zero) { return zero ? 0 : (k.negative ? -1 : 1); };
  const int sx = sign(x, x_zero), sy = sign(y, y_zero);
  if (sx != sy) return sx < sy;
  if (sx == 0) return false;
  int magnitude;  // -1, 0, 1 comparing absolute values
  if (x.exponent != y.exponent) {
    magnitude = x.exponent < y.exponent ? -1 : 1;
  } else {
    const int c = x.digits.compare(y.digits);
    magnitude = c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return sx > 0 ? magnitude < 0 : magnitude > 0;
}

}  // namespace

std::string NumericKey(std::string_view stored) {
  std::string key(kNumericKeyLength, '\0');
  std::string text = PlainNumber(stored);
  bool negative = false;
  if (!text.empty() && text[0] == '-') {
    negative = true;
    text.erase(0, 1);
  }
  const std::size_t dot = text.find('.');
  std::string int_part = text.substr(0, dot);
  std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
  if (int_part == "0") int_part.clear();
  for (char c : int_part + fraction) {
    if (c < '0' || c > '9') return NumericKey("");  // not a number: keys as 0
  }
  std::string digits = int_part + fraction;
  int exponent = static_cast<int>(int_part.size());
  // Leading zeros of a pure fraction move the decimal point instead.
  std::size_t lead = 0;
  while (lead < digits.size() && digits[lead] == '0') ++lead;
  digits.erase(0, lead);
  exponent -= static_cast<int>(lead);
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.size() > 20) digits.resize(20);
  if (digits.empty()) {
    exponent = 0;
    negative = false;
  }
  key[0] = static_cast<char>(52 + exponent);
  key[1] = static_cast<char>((negative ? 0x80 : 0) | (digits.size() << 2) | 0x01);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const int d = digits[i] - '0';
    key[2 + i / 2] = static_cast<char>(key[2 + i / 2] | (i % 2 == 0 ? d << 4 : d));
  }
  return key;
}

void WriteMdx(const std::filesystem::path& path, const std::string& table_name,
              const std::vector<MdxTagKeys>& tags) {
  std::string out(kHeaderBytes, '\0');
  out[0] = 2;
  PutDate(out, 1);
  out.replace(4, std::min<std::size_t>(table_name.size(), 16), table_name, 0, 16);
  PutLittle(out, 20, kPagesPerBlock, 2);
  PutLittle(out, 22, kBlockSize, 2);
  out[24] = 1;  // production index
  out[25] = static_cast<char>(kTagSlots);
  out[26] = static_cast<char>(kTagEntrySize);
  PutLittle(out, 28, static_cast<std::uint32_t>(tags.size()), 2);
  out[30] = static_cast<char>(tags.size() + 1);  // the next tag's number
  out[31] = 0x1B;
  PutDate(out, 44);

  auto new_block = [&out]() {
    const auto page = static_cast<std::uint32_t>(out.size() / kPageSize);
    out.append(kBlockSize, '\0');
    return page;
  };

  for (std::size_t t = 0; t < tags.size() && t + 1 < kTagSlots; ++t) {
    const MdxTagKeys& tag = tags[t];
    const bool numeric = IsNumeric(tag.field);
    const std::size_t key_length =
        numeric ? kNumericKeyLength : static_cast<std::size_t>(tag.field.length);
    const std::size_t item_length = (4 + key_length + 3) / 4 * 4;
    const std::size_t max_keys = (kBlockSize - 12) / item_length;

    std::vector<std::string> keys;
    keys.reserve(tag.keys.size());
    for (const std::string& stored : tag.keys) {
      keys.push_back(numeric ? NumericKey(stored) : stored.substr(0, key_length));
    }
    std::vector<std::uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      return numeric ? NumericLess(keys[a], keys[b]) : keys[a] < keys[b];
    });

    const std::uint32_t header_page = new_block();

    // Leaves, then branch levels until one page remains: the root.
    struct Child {
      std::uint32_t page;
      std::string last_key;
    };
    std::vector<Child> level;
    std::size_t next = 0;
    do {
      const std::uint32_t page = new_block();
      const std::size_t at = page * kPageSize;
      const std::size_t count = std::min(max_keys, order.size() - next);
      PutLittle(out, at, static_cast<std::uint32_t>(count), 4);
      for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t row = order[next + i];
        const std::size_t item = at + 8 + i * item_length;
        PutLittle(out, item, row + 1, 4);
        out.replace(item + 4, key_length, keys[row]);
      }
      next += count;
      level.push_back({page, count ? keys[order[next - 1]] : std::string(key_length, '\0')});
    } while (next < order.size());
    const std::uint32_t first_leaf = level.front().page;
    const std::uint32_t last_leaf = level.back().page;
    while (level.size() > 1) {
      std::vector<Child> upper;
      for (std::size_t first = 0; first < level.size();) {
        const std::size_t children = std::min(max_keys + 1, level.size() - first);
        const std::uint32_t page = new_block();
        const std::size_t at = page * kPageSize;
        PutLittle(out, at, static_cast<std::uint32_t>(children - 1), 4);
        for (std::size_t i = 0; i + 1 < children; ++i) {
          const std::size_t item = at + 8 + i * item_length;
          PutLittle(out, item, level[first + i].page, 4);
          out.replace(item + 4, key_length, level[first + i].last_key);
        }
        PutLittle(out, at + 8 + (children - 1) * item_length, level[first + children - 1].page, 4);
        upper.push_back({page, level[first + children - 1].last_key});
        first += children;
      }
      level = std::move(upper);
    }

    const std::size_t h = header_page * kPageSize;
    const auto tag_pages =
        static_cast<std::uint32_t>(out.size() / kPageSize) - header_page - kPagesPerBlock;
    PutLittle(out, h, level.front().page, 4);
    PutLittle(out, h + 4, tag_pages, 4);
    out[h + 8] = 0x10;  // keyed on fields, ascending, not unique
    out[h + 9] = numeric ? 'N' : 'C';
    out[h + 11] = 0x1B;
    PutLittle(out, h + 12, static_cast<std::uint32_t>(key_length), 2);
    PutLittle(out, h + 14, static_cast<std::uint32_t>(max_keys), 2);
    PutLittle(out, h + 18, static_cast<std::uint32_t>(item_length), 2);
    out[h + 20] = 1;  // serial number of the tag's updates
    out[h + 246] = keys.empty() ? 0 : 1;
    PutLittle(out, h + 248, first_leaf, 4);
    PutLittle(out, h + 252, last_leaf, 4);
    PutDate(out, h + 257);
    out[h + 480] = 0x01;  // the key is one field
    out.replace(h + kKeyExpressionOffset, std::min(tag.field.name.size(), kKeyExpressionRoom - 1),
                tag.field.name, 0, kKeyExpressionRoom - 1);

    const std::size_t entry = kTagTableStart + t * kTagEntrySize;
    PutLittle(out, entry, header_page, 4);
    out.replace(entry + 4, std::min<std::size_t>(tag.name.size(), 10), tag.name, 0, 10);
    out[entry + 15] = 0x10;  // keyed on a field
    out[entry + 19] = 0x02;
    out[entry + 20] = numeric ? 'N' : 'C';
  }
  PutLittle(out, 32, static_cast<std::uint32_t>(out.size() / kPageSize), 4);

  env::TableFile file = env::TableFile::Create(path);
  file.WriteAt(0, out.data(), out.size());
  file.Close();
}

std::vector<IndexDef> ReadMdxTags(const std::filesystem::path& path) {
  env::TableFile file = env::TableFile::Open(path, env::ShareMode::kShared);
  const std::uint64_t size = file.Size();
  auto damaged = [&]() {
    return RunError("El \xEDndice " + env::PathText(path) +
                    " est\xE1 da\xF1"
                    "ado");
  };
  std::string header(kHeaderBytes, '\0');
  if (file.ReadAt(0, header.data(), header.size()) != header.size()) throw damaged();
  const std::uint32_t used = GetLittle(header, 28, 2);
  if (used >= kTagSlots) throw damaged();
  std::vector<IndexDef> tags;
  for (std::uint32_t t = 0; t < used; ++t) {
    const std::size_t entry = kTagTableStart + t * kTagEntrySize;
    const std::uint64_t header_at = std::uint64_t{GetLittle(header, entry, 4)} * kPageSize;
    if (header_at + kBlockSize > size) throw damaged();
    IndexDef def;
    const std::string name = header.substr(entry + 4, 11);
    def.tag = name.substr(0, name.find('\0'));
    std::string expression(kKeyExpressionRoom, '\0');
    file.ReadAt(header_at + kKeyExpressionOffset, expression.data(), expression.size());
    expression.resize(expression.find('\0') == std::string::npos ? expression.size()
                                                                 : expression.find('\0'));
    while (!expression.empty() && expression.back() == ' ') expression.pop_back();
    def.field = expression;
    tags.push_back(std::move(def));
  }
  return tags;
}

}  // namespace tv::worktables
