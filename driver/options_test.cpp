#include "driver/options.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

TEST(SizeLimitValue, AcceptsExactlyThePlainDecimalForms) {
  struct Case {
    const char* digits;
    bool accepted;
    std::int32_t value;
  } cases[] = {
      {"0", true, 0},
      {"500", true, 500},
      {"2147483647", true, 2147483647},
      {"", false, 0},
      {"007", false, 0},
      {"+5", false, 0},
      {"-0", false, 0},
      {"-5", false, 0},
      {"2147483648", false, 0},
      {"99999999999", false, 0},
      {"IMUM", false, 0},
      {"12X", false, 0},
      {" 1", false, 0},
  };
  for (const Case& c : cases) {
    std::int32_t value = -7;
    EXPECT_EQ(size_limit_value(c.digits, value), c.accepted) << '"' << c.digits << '"';
    // A refused number leaves the limit alone.
    EXPECT_EQ(value, c.accepted ? c.value : -7) << c.digits;
  }
}

}  // namespace
