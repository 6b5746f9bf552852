#include "platform/posix/wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct MatchCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(WildcardMatch, FollowsTheRulesOfADirectorySearch) {
  const MatchCase cases[] = {
      {"*", "README", true},
      {"*", "notes.txt", true},
      {"*", ".profile", true},
      {"*.*", "README", true},  // no dot, still every name
      {"*.*", "a.b.c", true},
      {"*.*", ".", true},
      {"*.TXT", "notes.txt", true},  // case never counts
      {"*.txt", "NOTES.TXT", true},
      {"*.TXT", "notes.txt.bak", false},
      {"*.TXT", "txt", false},
      {"*.TXT", "archive.tar.txt", true},  // "*" takes dots too
      {"?", "a", true},
      {"?", "", false},
      {"?", "ab", false},  // exactly one character
      {"A?.TXT", "A.TXT", false},
      {"A?.TXT", "ab.txt", true},
      {"??", ".", false},
      {"??", "..", true},
      {"O*.?XT", "ONE.TXT", true},
      {"O*.?XT", "other.text", false},
      {"*A*B*", "xxAyyBzz", true},
      {"*A*B*", "xxByyAzz", false},
      {"*AB", "AAB", true},  // the star must give back what it took
      {"*.*.*", "a.b", false},
      {"NOTES.TXT", "notes.txt", true},
      {"NOTES.TXT", "notes.tx", false},
      {"**", "", true},
      {"", "", true},
      {"", "a", false},
      {"\xe8*", "\xe8t\xe0", true},  // bytes past 127 are themselves
      {"\xc8*", "\xe8t\xe0", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(wildcard_match(c.pattern, c.name), c.matches)
        << "pattern \"" << c.pattern << "\" name \"" << c.name << "\"";
  }
}

TEST(WildcardMatch, HasWildcardsSeesStarAndQuestionMarkOnly) {
  EXPECT_TRUE(has_wildcards("*.TXT"));
  EXPECT_TRUE(has_wildcards("A?"));
  EXPECT_FALSE(has_wildcards("NOTES.TXT"));
  EXPECT_FALSE(has_wildcards("[a]"));
}

TEST(NameOrder, DotsFirstThenUpperCasedBytes) {
  std::vector<std::string> names = {"b.txt",  "_x",    "A.TXT", "..",   "a", "Zeta",
                                    "~tilde", "!bang", ".",     "\xe0", "B", "b"};
  std::sort(names.begin(), names.end(), name_before);
  // "_" (0x5F) sorts after the letters once they are upper-cased (0x41-0x5A)
  // and before "~"; "!" comes before every letter; bytes past 127 come last;
  // "B" and "b" fold alike and keep their byte order.
  const std::vector<std::string> expected = {".", "..",    "!bang", "a",  "A.TXT",  "B",
                                             "b", "b.txt", "Zeta",  "_x", "~tilde", "\xe0"};
  EXPECT_EQ(names, expected);
}

TEST(NameOrder, EqualIgnoringCaseFoldsOnlyAToZ) {
  EXPECT_TRUE(equal_ignoring_case("Data.TXT", "DATA.txt"));
  EXPECT_FALSE(equal_ignoring_case("DATA", "DATA1"));
  EXPECT_FALSE(equal_ignoring_case("\xe8", "\xc8"));  // accented letters keep their case
  EXPECT_FALSE(equal_ignoring_case("[", "{"));        // 0x5B and 0x7B differ by the case bit
}

}  // namespace
