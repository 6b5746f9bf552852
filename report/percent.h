#ifndef VESK_REPORT_PERCENT_H_
#define VESK_REPORT_PERCENT_H_

#include <cstdint>

// trunc((part / whole) * 100) as 80-bit extended arithmetic computes it: the
// quotient rounded to nearest (ties to even) to a 64-bit significand, the
// product with 100 rounded the same way, then cut toward zero. Done in
// integers, so every build and compiler gives the same figure whatever its
// long double or FPU control word: 53 of 100 gives 52. whole must not be 0.
std::int64_t PERCENTUALE(std::int64_t part, std::int64_t whole);

#endif  // VESK_REPORT_PERCENT_H_
