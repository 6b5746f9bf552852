#include "driver/state.h"

#include "scan/temp_file.h"

bool VELOCE;
bool TUTTI;
std::uint8_t PAUSE;
char ACCODA;
Str255 TMPFILES;
bool TMPFILES_OURS;
std::int64_t TOT_COUNT;
std::int64_t TOT_SIZE;
bool SUB;
std::int32_t MIN_;
std::int32_t MAX_;
bool MAX_GIVEN;
Str255 NOMEFILE;
Str255 PATH;
Str255 OUTFILE;
int I;
Str255 TESTA;
Str255 CODA;
int ERRR;
TextFile TESTO;
RecordFile NF;
char UNITA;

void reset_state() {
  VELOCE = false;
  TUTTI = false;
  PAUSE = 255;
  ACCODA = 'C';
  // Computed on every run, before any parameter is read: the error path
  // needs it even when the run ends on an option.
  TMPFILES = TMPFILE("VESK____.TMP");
  TMPFILES_OURS = false;
  TOT_COUNT = 0;
  TOT_SIZE = 0;
  SUB = false;
  MIN_ = 0;
  MAX_ = 2147483647;
  MAX_GIVEN = false;
  NOMEFILE = Str255();
  PATH = Str255();
  OUTFILE = Str255();
}
