#include "import/first_match_index.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(FirstMatchIndex, TheFirstRowWithAKeyWins) {
  FirstMatchIndex<std::string> index;
  EXPECT_TRUE(index.Add("MAT", "first"));
  EXPECT_FALSE(index.Add("MAT", "second"));
  EXPECT_TRUE(index.Add("mat", "other case"));
  ASSERT_NE(index.Find("MAT"), nullptr);
  EXPECT_EQ(*index.Find("MAT"), "first");
  EXPECT_EQ(*index.Find("mat"), "other case");
  EXPECT_EQ(index.Find("MAT "), nullptr);
  EXPECT_EQ(index.Find(""), nullptr);
}

TEST(FirstMatchIndex, PairKeysOfDifferentPairsNeverMeet) {
  const std::pair<std::string, std::string> pairs[] = {
      {"11", "0"}, {"1", "10"}, {"110", ""}, {"", "110"}, {"1:1", "0"}, {"1", ":10"}, {"2:", "11"},
  };
  FirstMatchIndex<int> index;
  for (const auto& [a, b] : pairs) EXPECT_TRUE(index.Add(PairKey(a, b), 0)) << a << "|" << b;
}

}  // namespace
}  // namespace tv
