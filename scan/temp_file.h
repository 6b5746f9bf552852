#ifndef VESK_SCAN_TEMP_FILE_H_
#define VESK_SCAN_TEMP_FILE_H_

// Where the temporary file goes: a directory from TMP, TEMP or the current
// directory, created when missing, and a name that no file there has yet.
// Nothing here creates the file itself.

#include "zazaz32/str255.h"

// A full path for a new file called name, or a numbered variant of it: in the
// directory of the variable TMP, else of TEMP, else in the current directory.
// A source that is unset, names no directory that exists or can be created,
// or is too long to hold the name gives way to the next. Empty when name has
// a drive or directory part, is not a valid name or holds "*" or "?", and
// when no source gives a place.
Str255 TMPFILE(const Str255& name);

// A path for name inside directory: when directory exists, the first of the
// name itself and its numbered variants (TMP_CANDIDATE 0 to 99999999) that no
// file has (a directory of that name does not count); when it does not exist,
// it is created (NEWDIR) and the name itself is taken. Empty when the
// directory can be neither found nor created, when every candidate is taken,
// and when directory, "\" and the name would not fit in 255 characters.
Str255 TMP(const Str255& directory, const Str255& name);

// Creates path level by level, starting from its drive when it names one,
// and enters the current directory of before the call again on every return.
//    0: at least one level was created, the whole path now exists
//   -4: every level existed already
//   -1: the drive cannot be selected
//   -2: a level ".." cannot be entered
//   -3: a level can be neither entered nor created
//   >0: VALIDNAME's code for an invalid path; nothing is done
int NEWDIR(const Str255& path);

// The candidate path number n for name in directory dir (dir already ending in "\"):
// n = -1 gives dir + name, n >= 0 the numbered variant (VESK___0.TMP ...); empty when
// the result would not fit in 255 characters.
// A numbered variant has the stem of name (before its first ".") padded with
// "0" to 8 characters and its end replaced by the digits of n, and at most 3
// characters of the extension: VESK__10.TMP, 99999999.TMP, ABC00000 for ABC.
// Also empty for n above 99999999.
Str255 TMP_CANDIDATE(const Str255& dir, const Str255& name, int n);

#endif  // VESK_SCAN_TEMP_FILE_H_
