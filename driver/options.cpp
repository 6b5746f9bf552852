#include "driver/options.h"

#include <cstdint>

#include "driver/errors.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "zazaz32/path.h"
#include "zazaz32/tokens.h"

namespace {

// Text to a signed 32-bit number as the runtime's conversion does it: an
// optional sign, then digits. err is the 1-based position of the first
// character not used (an overflowing digit included), 0 when all were used.
std::int32_t to_int32(const Str255& text, int& err) {
  std::int64_t value = 0;
  int i = 1;
  bool negative = false;
  if (text.at(i) == '+' || text.at(i) == '-') {
    negative = text.at(i) == '-';
    ++i;
  }
  if (i > text.length()) {
    err = i;  // nothing to convert
    return 0;
  }
  for (; i <= text.length(); ++i) {
    char c = text.at(i);
    if (c < '0' || c > '9') {
      err = i;
      return 0;
    }
    value = value * 10 + (c - '0');
    if (value > (negative ? 2147483648LL : 2147483647LL)) {
      err = i;
      return 0;
    }
  }
  err = 0;
  return static_cast<std::int32_t>(negative ? -value : value);
}

Str255 decimal(std::int64_t value) {
  return Str255(std::to_string(value));
}

void take_limit(std::int32_t& limit) {
  if (!size_limit_value(TESTA.copy(5, Str255::kMax), limit)) ERR(kErrBadNumber);
}

void act_on_token() {
  const Str255& t = TESTA;
  Str255 prefix = t.copy(1, 4);
  if (t == "/?") {
    HELP();
  } else if (t == "/S") {
    SUB = true;
  } else if (t == "/-S") {
    SUB = false;
  } else if (t == "/H") {
    TUTTI = true;
  } else if (t == "/-H") {
    TUTTI = false;
  } else if (prefix == "/MAX") {
    take_limit(MAX_);
    MAX_GIVEN = true;
  } else if (prefix == "/MIN") {
    take_limit(MIN_);
  } else if (t == "/P") {
    PAUSE = 0;
  } else if (t == "/V") {
    VELOCE = true;
  } else if (t == "/-V") {
    VELOCE = false;
  } else if (t == "/-P") {
    PAUSE = 255;
  } else if (t == "/AA" || t == "/AC" || t == "/AS" || t == "/AE") {
    ACCODA = t[2];
  } else if (t.first() == '+') {
    OUTFILE = t.copy(2, Str255::kMax);
  } else if (t.first() == '/') {
    ERR(kErrUnknownOption);
  } else {
    NOMEFILE = t;
  }
}

}  // namespace

// The text must convert whole, read back as itself, and not be negative.
bool size_limit_value(const Str255& digits, std::int32_t& value) {
  std::int32_t converted = to_int32(digits, ERRR);
  if (ERRR > 0 || !(decimal(converted) == digits) || converted < 0) return false;
  value = converted;
  return true;
}

void READ_OPTIONS() {
  // Every parameter is read, however many there are.
  int n = arg_count();
  for (I = 1; I <= n; ++I) {
    TESTA = UPSTR(arg_text(I));
    while (!TESTA.empty()) {
      TESTA_CODA(TESTA, "/ ", TESTA, CODA);
      act_on_token();
      TESTA = CODA;
    }
  }
}
