#ifndef VESK_DRIVER_OUTPUT_H_
#define VESK_DRIVER_OUTPUT_H_

// The only way report text is written: to the console, to the output file,
// or nowhere for the output name NUL. A caller that gets control back knows
// the text was accepted; a write the output file refuses ends the run with
// error 5.

#include "zazaz32/str255.h"

void WRITELN2(const Str255& text);  // text, then a line end
void WRITE2(const Str255& text);    // text; the next call goes on on the same line

#endif  // VESK_DRIVER_OUTPUT_H_
