#include "driver/output_file.h"

#include "driver/errors.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "zazaz32/names.h"
#include "zazaz32/path.h"

namespace {

constexpr int kEscape = 27;

// Asks whether to overwrite, append to or leave an existing output file, and
// gives the answer: 'S', 'A', 'E' or Escape.
char ask_policy() {
  if (con_column() != 1) con_put_line("");
  con_put_line("");
  con_put_line("Il file di output esiste gia'");
  con_put("Sovrascrivi, Accoda, Esci ?  [S,A,E] ");
  int k;
  do {
    k = con_read_key();
    if (k >= 'a' && k <= 'z') k -= 'a' - 'A';
    if (k == 0) k = con_read_key();  // the second value of a key without a character
  } while (k != kEscape && k != 'A' && k != 'E' && k != 'S');
  con_put_line(Str255(static_cast<char>(k)));
  return static_cast<char>(k);
}

}  // namespace

void OPEN_OUTPUT() {
  PAUSE = 255;
  Str255 name = NAMEOF(OUTFILE);
  if (!(name == "NUL") && NAMERESERVED(name)) ERR(kErrReservedName);
  if (name == "NUL") {
    // NUL behind a directory or a drive names the same device: the report
    // is discarded, as for the bare name.
    OUTFILE = "NUL";
    return;
  }
  bool exists = EXIST(OUTFILE) >= 0;
  if (exists && ACCODA == 'C') {
    ACCODA = ask_policy();
    if (ACCODA == 'E' || ACCODA == kEscape) ERR(kErrUserBreak);
  }
  if (!exists) {
    text_create(TESTO, OUTFILE);
  } else if (ACCODA == 'A') {
    text_append(TESTO, OUTFILE);
  } else if (ACCODA == 'S') {
    text_create(TESTO, OUTFILE);
  } else {
    ERR(kErrOutputExists);
  }
  // A failed open is not reported here: the first report line meets a closed
  // file and ends the run with error 5, naming the file.
  io_status();
}
