#include "report/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(DimPunto, GroupsDigitsInThreesFromTheRight) {
  struct Case {
    std::int64_t value;
    const char* text;
  } const cases[] = {
      {0, "0"},
      {7, "7"},
      {123, "123"},
      {1234, "1.234"},
      {12345, "12.345"},
      {123456, "123.456"},
      {1000000, "1.000.000"},
      {1234567, "1.234.567"},
      {999999999, "999.999.999"},
      {4294967296, "4.294.967.296"},
      {-1, "-1"},
      {-123, "-123"},
      {-1234, "-1.234"},
      {-123456, "-123.456"},
      {-1234567, "-1.234.567"},
      {std::numeric_limits<std::int64_t>::max(), "9.223.372.036.854.775.807"},
      {std::numeric_limits<std::int64_t>::min(), "-9.223.372.036.854.775.808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    EXPECT_EQ(DIM_PUNTO(c.value).str(), c.text);
  }
}

TEST(Freverse, ReversesAndTwiceGivesBackTheInput) {
  EXPECT_EQ(FREVERSE("").str(), "");
  EXPECT_EQ(FREVERSE("x").str(), "x");
  EXPECT_EQ(FREVERSE("abc").str(), "cba");
  EXPECT_EQ(FREVERSE("abcd").str(), "dcba");

  std::string full;
  for (int i = 0; i < 255; ++i) full += static_cast<char>('a' + i % 26);
  Str255 reversed = FREVERSE(full);
  ASSERT_EQ(reversed.length(), 255);
  EXPECT_EQ(reversed.first(), full.back());
  EXPECT_EQ(reversed.last(), full.front());
  EXPECT_EQ(FREVERSE(reversed).str(), full);
}

}  // namespace
