#include "platform/posix/wildcard.h"

#include <cstddef>

char fold_case(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold_case(a[i]) != fold_case(b[i])) return false;
  }
  return true;
}

namespace {

// 0 for ".", 1 for "..", 2 for every other name.
int dot_rank(std::string_view name) {
  if (name == ".") return 0;
  if (name == "..") return 1;
  return 2;
}

}  // namespace

bool name_before(std::string_view a, std::string_view b) {
  int rank_a = dot_rank(a);
  int rank_b = dot_rank(b);
  if (rank_a != rank_b) return rank_a < rank_b;
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto fa = static_cast<unsigned char>(fold_case(a[i]));
    auto fb = static_cast<unsigned char>(fold_case(b[i]));
    if (fa != fb) return fa < fb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  // Same name but for case ("readme" and "README" side by side): byte order.
  return a < b;
}

bool has_wildcards(std::string_view piece) {
  return piece.find_first_of("*?") != std::string_view::npos;
}

bool wildcard_match(std::string_view pattern, std::string_view name) {
  // "*.*" is the way every DOS program asks for all names; taken literally it
  // would leave out the names without a dot.
  if (pattern == "*.*") pattern = "*";
  // Greedy matching with one point of return: the last "*" seen, and the
  // name position it has swallowed up to. Each further "*" replaces it,
  // since whatever the earlier one matched can no longer matter.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || fold_case(pattern[p]) == fold_case(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
