#ifndef VESK_ZAZAZ32_NAMES_H_
#define VESK_ZAZAZ32_NAMES_H_

// Whether a string can serve as a file or directory path: reserved device
// names, reserved characters, wildcards outside the last piece, drive
// letters and doubled backslashes. The validity tests give 0 for a valid
// path, otherwise a non-zero position near the fault (callers need only the
// difference between zero and non-zero).

#include "zazaz32/str255.h"

// True when the name part of path (directory and extension ignored, case
// ignored) is a device: COM1 to COM4, LPT1 to LPT9, AUX, NUL, PRN or CON.
// So C:\X\CON.TXT is reserved; COM5, CONSOLE and "NUL " are not.
bool NAMERESERVED(const Str255& path);

// The long-name rules, each giving its position at the first fault found:
// empty path 1; a final "." the length; a reserved character ("/", ":" other
// than the drive's, "|", "<", ">", the double quote, codes 0 to 31); a
// wildcard before the last "\"; a drive that is not a letter 1; a doubled
// backslash after the start; an empty or reserved piece its start. A path
// starting with "\\" is a server path: a ":" in it is refused, its other
// characters are not tested.
int VALIDNAMEWIN(const Str255& path);

// The validity test the program uses: the long-name rules.
int VALIDNAME(const Str255& path);

#endif  // VESK_ZAZAZ32_NAMES_H_
