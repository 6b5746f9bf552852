#ifndef VESK_FUZZ_FUZZ_CHECK_H_
#define VESK_FUZZ_FUZZ_CHECK_H_

// What every fuzz target shares: a property check that stops the run with the
// offending values (the fuzzer then keeps the input that broke it), and the
// cutting of one input into the several texts a function takes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "zazaz32/str255.h"

// The text with every byte below 32 or above 126 written as \xNN, so that a
// report shows exactly what was compared.
inline std::string printable(std::string_view text) {
  std::string shown;
  for (char c : text) {
    auto code = static_cast<unsigned char>(c);
    if (code >= 32 && code <= 126 && c != '\\') {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
      shown += escaped;
    }
  }
  return shown;
}

// Stops the run when a property does not hold. abort() rather than a return
// code: the fuzzer treats the signal as a finding and saves the input.
inline void check(bool holds, const char* property, std::string_view input,
                  std::string_view got = {}) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n  input: \"%s\"\n  got:   \"%s\"\n", property,
               printable(input).c_str(), printable(got).c_str());
  std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input cut at its NUL bytes, the one byte no command-line parameter,
// file name or environment value can hold.
inline std::vector<std::string_view> split_at_nul(std::string_view input) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = input.find('\0', start);
    if (end == std::string_view::npos) {
      pieces.push_back(input.substr(start));
      return pieces;
    }
    pieces.push_back(input.substr(start, end - start));
    start = end + 1;
  }
}

#endif  // VESK_FUZZ_FUZZ_CHECK_H_
