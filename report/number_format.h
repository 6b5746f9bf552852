#ifndef VESK_REPORT_NUMBER_FORMAT_H_
#define VESK_REPORT_NUMBER_FORMAT_H_

// The grouped number format of every count and size in the report.

#include <cstdint>

#include "zazaz32/str255.h"

// value in decimal with a "." between groups of three digits counted from
// the right and a leading "-" when negative: 1234567 gives "1.234.567",
// -1234 gives "-1.234", 123 gives "123". Independent of any locale; the
// whole signed 64-bit range, its most negative value included.
Str255 DIM_PUNTO(std::int64_t value);

// The characters of s in reverse order.
Str255 FREVERSE(const Str255& s);

#endif  // VESK_REPORT_NUMBER_FORMAT_H_
