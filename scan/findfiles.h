#ifndef VESK_SCAN_FINDFILES_H_
#define VESK_SCAN_FINDFILES_H_

#include "zazaz32/str255.h"

// Counts the files of one directory that match spec (a directory path and a
// name pattern) and pass the hidden/system and size filters, adds them to the
// run totals, and prints the directory's block (unless /V), with the paging
// prompt every fifth block under /P. A directory with no counted file prints
// nothing.
void FINDFILES(const Str255& spec);

#endif  // VESK_SCAN_FINDFILES_H_
