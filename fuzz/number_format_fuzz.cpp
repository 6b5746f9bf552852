// The grouped number format. The first eight bytes of the input are the
// number (little-endian, missing bytes zero); the whole input, cut to 255
// characters, is also a text for FREVERSE.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "report/number_format.h"

namespace {

void check_grouping(std::int64_t value) {
  const Str255 text = DIM_PUNTO(value);
  const std::string shown = text.str();
  const std::string plain = std::to_string(value);
  std::string without_dots;
  for (char c : shown) {
    if (c != '.') without_dots += c;
  }
  check(without_dots == plain, "read without its dots the text is the number", plain, shown);
  check(shown.size() <= 26, "at most 26 characters", plain, shown);
  // From the right: three digits, a dot, three digits ... and no dot at the
  // front of the digits.
  const std::size_t digits_start = value < 0 ? 1 : 0;
  const std::size_t digit_count = plain.size() - digits_start;
  check(shown.size() - digits_start == digit_count + (digit_count - 1) / 3,
        "one dot for every full group of three before the first", plain, shown);
  for (std::size_t from_right = 1; from_right <= shown.size() - digits_start; ++from_right) {
    const char c = shown[shown.size() - from_right];
    check((c == '.') == (from_right % 4 == 0), "dots stand every fourth place from the right",
          plain, shown);
  }
}

void check_reversal(const Str255& s) {
  const Str255 reversed = FREVERSE(s);
  check(reversed.length() == s.length(), "the reversal keeps the length", s.view(),
        reversed.view());
  for (int i = 0; i < s.length(); ++i) {
    check(reversed[i] == s[s.length() - 1 - i], "the reversal reads the text backwards", s.view(),
          reversed.view());
  }
  check(FREVERSE(reversed) == s, "reversing twice gives the text back", s.view());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
  check_grouping(static_cast<std::int64_t>(bits));
  check_reversal(Str255(as_text(data, size)));
  return 0;
}
