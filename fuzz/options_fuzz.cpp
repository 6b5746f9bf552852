// The option reader's cutting of parameters into tokens, and the number rule
// of /MAX and /MIN. The input is a command line as the program receives it:
// parameters separated by NUL bytes. Each is cut to 255 characters and
// upper-cased, then walked with TESTA_CODA at "/" and space as the option
// loop walks it; the path walk of the name checks (separator "\") gets the
// same parameter.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/options.h"
#include "fuzz/fuzz_check.h"
#include "zazaz32/path.h"
#include "zazaz32/tokens.h"

namespace {

// The plain decimal form of a number from 0 to 2147483647, decided on the
// text alone: digits only, no sign, no leading zero but for "0" itself, and
// not above the largest value when compared as text of equal length.
bool plain_decimal_in_range(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  if (digits.size() > 1 && digits[0] == '0') return false;
  return digits.size() < 10 || digits <= "2147483647";
}

void check_number_rule(const Str255& token) {
  const Str255 digits = token.copy(5, Str255::kMax);
  std::int32_t value = -7;
  const bool accepted = size_limit_value(digits, value);
  check(accepted == plain_decimal_in_range(digits.view()), "/MAX and /MIN accept plain numbers",
        token.view());
  if (!accepted) {
    check(value == -7, "a refused number leaves the limit alone", token.view());
    return;
  }
  std::int32_t expected = -1;
  std::from_chars(digits.data(), digits.data() + digits.length(), expected);
  check(value == expected, "an accepted number keeps its value", token.view());
}

// Walks source token by token. Every head must be a step forward, and head
// and tail together must be the text they came from: so the walk ends, and
// every character of the parameter goes through the option table once.
void walk(const Str255& source, const Str255& separators, bool options) {
  Str255 rest = source;
  while (!rest.empty()) {
    Str255 head;
    Str255 tail;
    TESTA_CODA(rest, separators, head, tail);
    check(!head.empty(), "every token has a character", rest.view());
    check(head + tail == rest, "head and tail together give the source", rest.view(),
          (head + Str255("|") + tail).view());
    const std::string_view after_first = head.view().substr(1);
    check(after_first.find_first_of(separators.view()) == std::string_view::npos,
          "a separator only starts a token", rest.view(), head.view());
    check(tail.empty() || separators.contains(tail.first()), "the tail starts at a separator",
          rest.view(), tail.view());
    if (options && (head.copy(1, 4) == "/MAX" || head.copy(1, 4) == "/MIN")) {
      check_number_rule(head);
    }
    rest = tail;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (std::string_view parameter : split_at_nul(as_text(data, size))) {
    const Str255 testa = UPSTR(Str255(parameter));
    walk(testa, "/ ", true);
    walk(testa, "\\", false);
  }
  return 0;
}
