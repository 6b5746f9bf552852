#ifndef VESK_PLATFORM_POSIX_WILDCARD_H_
#define VESK_PLATFORM_POSIX_WILDCARD_H_

// How DOS names compare: the case of a to z never counts, every other byte is
// itself. Pure functions.

#include <string_view>

char fold_case(char c);  // a to z become A to Z; every other byte stays

bool equal_ignoring_case(std::string_view a, std::string_view b);

// The order in which a directory's entries are delivered: "." first, ".."
// second, then the names compared byte by byte (unsigned) after folding the
// case; names that fold alike keep their byte order, so the order is total.
bool name_before(std::string_view a, std::string_view b);

bool has_wildcards(std::string_view piece);  // holds "*" or "?"

// Whether name matches the pattern of a directory search: "*" matches any
// run of characters (none included), "?" exactly one, every other character
// itself ignoring case. "*.*" matches every name, with a dot or without.
bool wildcard_match(std::string_view pattern, std::string_view name);

#endif  // VESK_PLATFORM_POSIX_WILDCARD_H_
