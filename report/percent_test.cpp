#include "report/percent.h"

#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace {

TEST(Percentuale, KnownFigures) {
  struct Case {
    std::int64_t part, whole, percent;
  } cases[] = {
      {53, 100, 52},  // the rounded quotient times 100 lies just below 53
      {25, 100, 25},
      {30007729152, 40007729152, 75},
      {40007729152 - 1, 40007729152, 99},  // the found-files share of a 1-byte total
      {1, 40007729152, 0},
      {100, 100, 100},
      {0, 100, 0},
      {40007729153, 40007729152, 100},  // free space -1: used is size + 1
      {-1, 100, -1},
      {7, 3, 233},
      {std::numeric_limits<std::int64_t>::max(), 1, std::numeric_limits<std::int64_t>::max()},
      {1, std::numeric_limits<std::int64_t>::max(), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PERCENTUALE(c.part, c.whole), c.percent) << c.part << " of " << c.whole;
  }
}

// Where the compiler's long double is the 80-bit extended type, the integer
// rule must agree with the hardware on every value.
TEST(Percentuale, AgreesWithExtendedHardware) {
  if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "no 80-bit long double";
  std::mt19937_64 random(12345);
  for (int i = 0; i < 200000; ++i) {
    int shift = static_cast<int>(random() % 63);
    std::int64_t whole = static_cast<std::int64_t>(random() >> (1 + shift)) + 1;
    std::int64_t part = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(whole)) +
                        static_cast<std::int64_t>(i % 3 == 0);
    volatile long double q = static_cast<long double>(part) / static_cast<long double>(whole);
    volatile long double p = q * 100.0L;
    ASSERT_EQ(PERCENTUALE(part, whole), static_cast<std::int64_t>(p)) << part << " of " << whole;
  }
  // Small fractions near whole percentages, where rounding decides.
  for (std::int64_t whole = 1; whole <= 2000; ++whole) {
    for (std::int64_t part = 0; part <= whole; ++part) {
      volatile long double q = static_cast<long double>(part) / static_cast<long double>(whole);
      volatile long double p = q * 100.0L;
      ASSERT_EQ(PERCENTUALE(part, whole), static_cast<std::int64_t>(p)) << part << " of " << whole;
    }
  }
}

}  // namespace
