#include "report/percent.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace {

using u64 = std::uint64_t;
__extension__ typedef unsigned __int128 u128;  // GCC and Clang on 64-bit targets

// A positive binary number m * 2^e whose significand m has its top bit set.
struct Extended {
  u64 m;
  int e;
};

int bit_width(u128 v) {
  u64 high = u64(v >> 64);
  return static_cast<int>(high != 0 ? 64 + std::bit_width(high) : std::bit_width(u64(v)));
}

u64 magnitude(std::int64_t v) {
  return v < 0 ? u64(0) - u64(v) : u64(v);
}

// Rounds v * 2^e (v > 0; sticky tells that non-zero bits lie below v) to a
// 64-bit significand, to nearest with ties to even.
Extended round_to_64(u128 v, int e, bool sticky) {
  int width = bit_width(v);
  if (width <= 64) return {u64(v) << (64 - width), e - (64 - width)};
  int drop = width - 64;
  u128 kept = v >> drop;
  u128 rest = v & ((u128(1) << drop) - 1);
  u128 half = u128(1) << (drop - 1);
  if (rest > half || (rest == half && (sticky || (kept & 1) != 0))) ++kept;
  e += drop;
  if (bit_width(kept) > 64) {  // the rounding carried into a 65th bit
    kept >>= 1;
    ++e;
  }
  return {u64(kept), e};
}

// n / d (both > 0) rounded to a 64-bit significand: long division, one bit
// at a time, until 66 significant bits are known; what remains is sticky.
Extended divide(u64 n, u64 d) {
  u128 q = n / d;
  u128 r = n % d;
  int e = 0;
  while (bit_width(q) < 66) {
    r <<= 1;
    q <<= 1;
    if (r >= d) {
      q |= 1;
      r -= d;
    }
    --e;
  }
  return round_to_64(q, e, r != 0);
}

}  // namespace

std::int64_t PERCENTUALE(std::int64_t part, std::int64_t whole) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  if (part == 0 || whole == 0) return 0;
  bool negative = (part < 0) != (whole < 0);
  Extended quotient = divide(magnitude(part), magnitude(whole));
  Extended product = round_to_64(u128(quotient.m) * 100, quotient.e, false);
  // Cut toward zero. The significand's top bit is set, so any e >= 0 is at
  // least 2^63 and cannot be held; the figure is then pinned at the largest.
  std::int64_t cut;
  if (product.e >= 0) {
    cut = kMax;
  } else if (product.e <= -64) {
    cut = 0;
  } else {
    cut = std::int64_t(product.m >> -product.e);
  }
  return negative ? -cut : cut;
}
