#include "zazaz32/tokens.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TokenCase {
  const char* source;
  const char* head;
  const char* tail;
};

TEST(TestaCoda, SplitsOptionGroupsAtSlashAndSpace) {
  const TokenCase cases[] = {
      {"/S/H", "/S", "/H"},       {"/H", "/H", ""},
      {"*.TXT/S", "*.TXT", "/S"}, {"+OUT.TXT/AA", "+OUT.TXT", "/AA"},
      {"/MAX100", "/MAX100", ""}, {"//S", "/", "/S"},
      {"/S /H", "/S", " /H"},     {"/", "/", ""},
      {"A/", "A", "/"},           {"", "", ""},
      {"AB", "AB", ""},           {" /S", " ", "/S"},
  };
  for (const TokenCase& c : cases) {
    SCOPED_TRACE(std::string("source \"") + c.source + "\"");
    Str255 head("junk");
    Str255 tail("junk");
    TESTA_CODA(c.source, "/ ", head, tail);
    EXPECT_EQ(head.str(), c.head);
    EXPECT_EQ(tail.str(), c.tail);
  }
}

TEST(TestaCoda, WalksAPathAtBackslashes) {
  const TokenCase cases[] = {
      {"\\DIR\\X", "\\DIR", "\\X"}, {"DIR", "DIR", ""}, {"A\\B\\C", "A", "\\B\\C"},
      {"\\X", "\\X", ""},           {"\\", "\\", ""},
  };
  for (const TokenCase& c : cases) {
    SCOPED_TRACE(std::string("source \"") + c.source + "\"");
    Str255 head;
    Str255 tail;
    TESTA_CODA(c.source, "\\", head, tail);
    EXPECT_EQ(head.str(), c.head);
    EXPECT_EQ(tail.str(), c.tail);
  }
}

TEST(TestaCoda, WithoutSeparatorsTheHeadIsTheWholeSource) {
  Str255 head;
  Str255 tail("junk");
  TESTA_CODA("/S/H", "", head, tail);
  EXPECT_EQ(head.str(), "/S/H");
  EXPECT_TRUE(tail.empty());
}

TEST(TestaCoda, SeparatorInLastOfFullLengthSource) {
  const std::string body(254, 'x');
  Str255 head;
  Str255 tail;
  TESTA_CODA(body + "/", "/ ", head, tail);
  EXPECT_EQ(head.str(), body);
  EXPECT_EQ(tail.str(), "/");
}

TEST(TestaCoda, HeadMayBeTheSourceVariable) {
  // The option loop cuts its token variable into itself and a tail.
  Str255 token("/S/H/V");
  Str255 tail;
  TESTA_CODA(token, "/ ", token, tail);
  EXPECT_EQ(token.str(), "/S");
  EXPECT_EQ(tail.str(), "/H/V");
  TESTA_CODA(tail, "/ ", token, tail);
  EXPECT_EQ(token.str(), "/H");
  EXPECT_EQ(tail.str(), "/V");
}

TEST(Single, KeepsTheFirstOccurrenceOfEachCharacter) {
  EXPECT_EQ(SINGLE("/ /").str(), "/ ");
  EXPECT_EQ(SINGLE("").str(), "");
  EXPECT_EQ(SINGLE("abcabcd").str(), "abcd");
  EXPECT_EQ(SINGLE("aA").str(), "aA");
}

TEST(Fdelete, RemovesWithinTheTextOnly) {
  struct Case {
    const char* s;
    int index;
    int count;
    const char* result;
  } const cases[] = {
      {"ABCDEF", 2, 3, "AEF"},     {"ABCDEF", 1, 1, "BCDEF"},
      {"ABCDEF", 6, 1, "ABCDE"},   {"ABCDEF", 4, 100, "ABC"},
      {"ABCDEF", 4, 32767, "ABC"}, {"ABCDEF", 0, 2, "ABCDEF"},
      {"ABCDEF", 7, 1, "ABCDEF"},  {"ABCDEF", 2, 0, "ABCDEF"},
      {"ABCDEF", 2, -1, "ABCDEF"}, {"", 1, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.s << " index " << c.index << " count " << c.count);
    EXPECT_EQ(FDELETE(c.s, c.index, c.count).str(), c.result);
  }
}

TEST(Posrl, FindsTheRightmostOccurrenceInThePrefix) {
  struct Case {
    const char* sub;
    const char* s;
    int n;
    int result;
  } const cases[] = {
      {"\\", "C:\\A\\B", 255, 5}, {"\\", "C:\\A\\B", 4, 3}, {"\\", "C:\\A\\B", 2, 0},
      {"AB", "ABAB", 255, 3},     {"AB", "ABAB", 3, 1},     {"ABC", "AB", 255, 0},
      {"X", "ABC", 255, 0},       {"ABC", "ABC", 255, 1},   {"\\", "", 255, 0},
      {"", "ABC", 255, 0},        {"A", "ABC", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << c.sub << "\" in \"" << c.s << "\" n " << c.n);
    EXPECT_EQ(POSRL(c.sub, c.s, c.n), c.result);
  }
}

TEST(Letters, OnlyAToZInEitherCase) {
  for (char c : std::string("azAZmQ")) EXPECT_TRUE(LETTERS(c)) << c;
  for (char c : std::string("09@[`{ :\\\xe0\xc8")) EXPECT_FALSE(LETTERS(c)) << int(c);
}

TEST(Freechar, DropsEveryListedCharacter) {
  EXPECT_EQ(FREECHAR("", "ABC").str(), "ABC");
  EXPECT_EQ(FREECHAR("B", "ABCBA").str(), "ACA");
  EXPECT_EQ(FREECHAR("AB", "ABCBA").str(), "C");
  const std::string with_zeros("D\0I\0R", 5);
  EXPECT_EQ(FREECHAR(Str255(std::string_view("\0", 1)), with_zeros).str(), "DIR");
}

}  // namespace
