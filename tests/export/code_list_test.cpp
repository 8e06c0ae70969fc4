// Unique codes: numbered candidates, the ten-character stored form, letter case and
// trailing blanks, and the bounded search.
#include "export/code_list.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace tv {
namespace {

TEST(StoredCode, KeepsShortCodesAndShortensLongOnesToFirstEightAndLastTwo) {
  EXPECT_EQ(StoredCode(""), "");
  EXPECT_EQ(StoredCode("1 ESO A"), "1 ESO A");
  EXPECT_EQ(StoredCode("LENGUACAST"), "LENGUACAST");
  EXPECT_EQ(StoredCode("LENGUACAST1"), "LENGUACAT1");
  EXPECT_EQ(StoredCode("1 Bachillerato A"), "1 Bachil A");
}

struct GiveOutCase {
  const char* title;
  CodeList::Case letter_case;
  // Each entry gives out (first try, base) in turn.
  std::vector<std::pair<std::string, std::string>> requests;
  std::vector<std::string> expected;
};

void PrintTo(const GiveOutCase& c, std::ostream* os) { *os << c.title; }

class GiveOutTest : public testing::TestWithParam<GiveOutCase> {};

TEST_P(GiveOutTest, GivesTheExpectedCodesInTurn) {
  const GiveOutCase& c = GetParam();
  CodeList list(c.letter_case);
  std::vector<std::string> given;
  for (const auto& [first_try, base] : c.requests) given.push_back(*list.GiveOut(first_try, base));
  EXPECT_EQ(given, c.expected);
}

const auto kSensitive = CodeList::Case::kSensitive;
const auto kIgnored = CodeList::Case::kIgnored;

INSTANTIATE_TEST_SUITE_P(
    Cases, GiveOutTest,
    testing::Values(GiveOutCase{"numbered",
                                kIgnored,
                                {{"GMJ", "GMJ"}, {"GMJ", "GMJ"}, {"GMJ", "GMJ"}},
                                {"GMJ", "GMJ1", "GMJ2"}},
                    GiveOutCase{"case ignored, file's case kept",
                                kIgnored,
                                {{"GMJ", "GMJ"}, {"gmj", "gmj"}},
                                {"GMJ", "gmj1"}},
                    GiveOutCase{"accented letters ignore case too",
                                kIgnored,
                                {{"\xC1"
                                  "BC",
                                  "\xC1"
                                  "BC"},
                                 {"\xE1"
                                  "bc",
                                  "\xE1"
                                  "bc"}},
                                {"\xC1"
                                 "BC",
                                 "\xE1"
                                 "bc1"}},
                    GiveOutCase{"case sensitive",
                                kSensitive,
                                {{"CS", "CS"}, {"cs", "cs"}, {"CS", "CS"}},
                                {"CS", "cs", "CS1"}},
                    GiveOutCase{"long candidates in stored form",
                                kSensitive,
                                {{"LENGUACAST", "LENGUACAST"},
                                 {"LENGUACAST", "LENGUACAST"},
                                 {"LENGUACAST", "LENGUACAST"}},
                                {"LENGUACAST", "LENGUACAT1", "LENGUACAT2"}},
                    GiveOutCase{"group names: first try and candidates in stored form",
                                kIgnored,
                                {{"1 Bachil A", "1 Bachillerato Ciencias A"},
                                 {"1 Bachil A", "1 Bachillerato Sociales A"}},
                                {"1 Bachil A", "1 BachilA1"}},
                    GiveOutCase{"trailing blanks do not count",
                                kIgnored,
                                {{"VO ", "VO "}, {"VO", "VO"}},
                                {"VO", "VO1"}},
                    GiveOutCase{"a repeated code with a trailing blank numbers the code",
                                kIgnored,
                                {{"VO", "VO"}, {"VO ", "VO "}, {"VO", "VO"}},
                                {"VO", "VO 1", "VO1"}},
                    GiveOutCase{"a blank before the number counts in the stored form",
                                kSensitive,
                                {{"abcdefghi", "abcdefghi "}, {"abcdefghi", "abcdefghi "}},
                                {"abcdefghi", "abcdefgh 1"}},
                    GiveOutCase{
                        "empty codes", kIgnored, {{"", ""}, {"", ""}, {"", ""}}, {"", "1", "2"}},
                    GiveOutCase{"a candidate taken by another code is passed over",
                                kIgnored,
                                {{"A011", "A011"}, {"A01", "A01"}, {"A01", "A01"}, {"A01", "A01"}},
                                {"A011", "A01", "A012", "A013"}}),
    [](const testing::TestParamInfo<GiveOutCase>& info) {
      std::string name;
      for (char c : std::string(info.param.title)) name += std::isalnum(c) ? c : '_';
      return name;
    });

TEST(CodeList, ALongBaseHas109StoredCandidatesAndThenEndsWithoutACode) {
  CodeList list(kSensitive);
  const std::string base = "MATEMATICA";
  ASSERT_EQ(*list.GiveOut(base, base), base);
  std::vector<std::string> given;
  for (int i = 0; i < 109; ++i) given.push_back(*list.GiveOut(base, base));
  EXPECT_EQ(given.front(),
            "MATEMATI"
            "A1");
  EXPECT_EQ(given[8],
            "MATEMATI"
            "A9");
  EXPECT_EQ(given[9],
            "MATEMATI"
            "10");
  EXPECT_EQ(given[98],
            "MATEMATI"
            "99");
  EXPECT_EQ(given[99],
            "MATEMATI"
            "00");  // 100
  EXPECT_EQ(given.back(),
            "MATEMATI"
            "09");  // 109
  EXPECT_FALSE(list.GiveOut(base, base).has_value());
  EXPECT_EQ(list.Size(), 110u);
}

TEST(CodeList, AShortBaseWhoseCandidatesAreTakenByOthersStillFindsOne) {
  // Candidates of "AB" taken out of turn by other codes: the search goes past them.
  CodeList list(kIgnored);
  for (int n = 1; n <= 300; ++n) list.Add("ab" + std::to_string(n));
  list.Add("AB");
  EXPECT_EQ(*list.GiveOut("AB", "AB"), "AB301");
}

}  // namespace
}  // namespace tv
