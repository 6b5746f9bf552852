#ifndef VESK_SCAN_SUBDIR_H_
#define VESK_SCAN_SUBDIR_H_

#include "zazaz32/str255.h"

// Results of SUBDIR.
constexpr int kWalkDone = 0;       // the list is complete and closed
constexpr int kWalkFileError = 1;  // an operation on the list file failed
constexpr int kWalkEscape = 2;     // the user pressed Escape

// Lists every directory below start_path, breadth-first, into a new list file
// of 256-byte records at TMPFILES (or at the next free numbered name when that
// one is taken by then; TMPFILES then names the file made). The unread tail of
// the file is the queue of directories still to expand, so memory does not
// grow with the tree. Links to directories are not followed, and a directory
// whose path would not fit in 255 characters is named on the console and not
// listed.
int SUBDIR(const Str255& start_path);

// The /S branch of the run: the list, then the tally of the start directory
// and of every listed directory, then the list file is removed. Leaves in
// NOMEFILE only its name pattern.
void SCAN_TREE();

// Closes the list file if it is open and removes it if this run created it.
void discard_list_file();

#endif  // VESK_SCAN_SUBDIR_H_
