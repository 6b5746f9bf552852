// The directory-search matching of the Linux layer: wildcard_match against a
// plain dynamic-programming matcher, and the order of entries (name_before)
// as a strict total order. The input holds up to three NUL-separated texts of
// at most 255 bytes: the pattern, the name, and a third name for the order.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/posix/wildcard.h"

namespace {

constexpr std::size_t kLongestName = 255;

// matches[i][j]: the first i characters of the pattern match the first j of
// the name. "*" takes any run, "?" one character, the rest itself ignoring
// the case of a to z; "*.*" is every name, with a dot or without.
bool reference_match(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  const std::size_t m = pattern.size();
  const std::size_t n = name.size();
  std::vector<std::vector<bool>> matches(m + 1, std::vector<bool>(n + 1, false));
  matches[0][0] = true;
  for (std::size_t i = 1; i <= m; ++i) {
    const char p = pattern[i - 1];
    matches[i][0] = p == '*' && matches[i - 1][0];
    for (std::size_t j = 1; j <= n; ++j) {
      if (p == '*') {
        matches[i][j] = matches[i - 1][j] || matches[i][j - 1];
      } else if (p == '?' || fold_case(p) == fold_case(name[j - 1])) {
        matches[i][j] = matches[i - 1][j - 1];
      }
    }
  }
  return matches[m][n];
}

void check_order(std::string_view a, std::string_view b, std::string_view c) {
  check(!name_before(a, a), "no name comes before itself", a);
  if (a != b) {
    check(name_before(a, b) != name_before(b, a), "of two names exactly one comes first", a, b);
  }
  if (name_before(a, b) && name_before(b, c)) {
    check(name_before(a, c), "the order is transitive", a, c);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> texts = split_at_nul(as_text(data, size));
  for (std::string_view& text : texts) text = text.substr(0, kLongestName);
  texts.resize(3);
  const std::string_view pattern = texts[0];
  const std::string_view name = texts[1];
  check(wildcard_match(pattern, name) == reference_match(pattern, name),
        "the match agrees with the reference matcher", pattern, name);
  if (!has_wildcards(pattern)) {
    check(wildcard_match(pattern, name) == equal_ignoring_case(pattern, name),
          "without wildcards a pattern matches its own name only", pattern, name);
  }
  check_order(pattern, name, texts[2]);
  return 0;
}
