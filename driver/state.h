#ifndef VESK_DRIVER_STATE_H_
#define VESK_DRIVER_STATE_H_

// The program state: one set of module-level variables that lives for the
// whole run. The run sequence sets them up, the options fill them in, the
// tally adds to the totals and the summary reads them.

#include <cstdint>

#include "platform/platform.h"
#include "zazaz32/str255.h"

extern bool VELOCE;             // /V: summary only
extern bool TUTTI;              // /H: hidden and system files count too
extern std::uint8_t PAUSE;      // paging counter, 255 = paging off
extern char ACCODA;             // policy for an existing output file: A, C, S or E
extern Str255 TMPFILES;         // where the subdirectory list file goes
extern bool TMPFILES_OURS;      // the list file at TMPFILES was created by this run
extern std::int64_t TOT_COUNT;  // matching files of the whole run
extern std::int64_t TOT_SIZE;   // their bytes
extern bool SUB;                // /S: every subdirectory as well
extern std::int32_t MIN_;       // smallest size counted
extern std::int32_t MAX_;       // largest size counted, when MAX_GIVEN
extern bool MAX_GIVEN;          // /MAX was given: without it there is no upper bound
extern Str255 NOMEFILE;         // the target specification
extern Str255 PATH;             // directory just read back from the list file
extern Str255 OUTFILE;          // output file name; empty = the console
extern int I;                   // number of the parameter being read
extern Str255 TESTA;            // token being examined
extern Str255 CODA;             // rest of the parameter after TESTA
extern int ERRR;                // position reported by the last number conversion
extern TextFile TESTO;          // the output file
extern RecordFile NF;           // the list file while it is read back
extern char UNITA;              // letter of the drive the summary shows

// Step 1 of the run: every variable to its value at start.
void reset_state();

#endif  // VESK_DRIVER_STATE_H_
