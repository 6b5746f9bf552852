#ifndef VESK_PLATFORM_CMDLINE_COMMAND_LINE_H_
#define VESK_PLATFORM_CMDLINE_COMMAND_LINE_H_

// Cutting a whole command line, as the system hands it over in one piece, into
// the program's parameters. Pure, so it is built and tested on every platform.
//
// Rules: character codes 1 to 32 outside quotes separate parameters. A double
// or a single quote opens or closes a stretch of its own kind and is dropped;
// inside a stretch of one kind the other quote is an ordinary character. Two
// equal quotes in a row that are not ordinary are both dropped and open or
// close nothing, so "" outside a stretch is nothing at all and "" inside a
// double-quoted stretch leaves it open. A parameter is whatever these rules
// leave between separators; when they leave nothing (only such quote pairs, or
// an empty stretch) there is no parameter. Each parameter keeps its first 255
// characters.

#include <string_view>
#include <vector>

#include "zazaz32/str255.h"

// Every piece of the line in order, the first one (the program as it was
// started) included. There is no limit on how many.
std::vector<Str255> cut_command_line(std::string_view line);

#endif  // VESK_PLATFORM_CMDLINE_COMMAND_LINE_H_
