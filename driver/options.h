#ifndef VESK_DRIVER_OPTIONS_H_
#define VESK_DRIVER_OPTIONS_H_

#include <cstdint>

#include "zazaz32/str255.h"

// Reads every command-line parameter, cuts it into tokens at "/" and space,
// and sets the switches, the size limits, the output file and its policy, and
// the target. Ends the run for /? (help screen) and for a malformed token
// (errors 1 and 3).
void READ_OPTIONS();

// The number of a /MAX or /MIN token (the text after its first four
// characters): true, with the value, exactly when the text is the plain
// decimal form of a number from 0 to 2147483647.
bool size_limit_value(const Str255& digits, std::int32_t& value);

#endif  // VESK_DRIVER_OPTIONS_H_
