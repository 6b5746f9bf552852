#ifndef VESK_ZAZAZ32_OS_PROG_H_
#define VESK_ZAZAZ32_OS_PROG_H_

#include "zazaz32/str255.h"

// Three letters naming the system this build runs on: "WIN" or "LNX".
Str255 OS_PROG();

#endif  // VESK_ZAZAZ32_OS_PROG_H_
