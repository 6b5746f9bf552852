#include "report/number_format.h"

#include <string>

Str255 DIM_PUNTO(std::int64_t value) {
  const bool negative = value < 0;
  // The magnitude is taken unsigned: the most negative value has no
  // positive counterpart among the signed ones.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::string digits = std::to_string(magnitude);

  // The groups are collected from the right, so the text comes out reversed.
  Str255 reversed;
  int taken = 0;
  const int count = static_cast<int>(digits.size());
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    reversed += *digit;
    ++taken;
    if (taken % 3 == 0 && taken != count) reversed += '.';
  }
  Str255 result = FREVERSE(reversed);
  return negative ? Str255("-") + result : result;
}

Str255 FREVERSE(const Str255& s) {
  Str255 result = s;
  const int length = s.length();
  for (int i = 0; i < length; ++i) result[i] = s[length - 1 - i];
  return result;
}
