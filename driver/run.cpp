#include "driver/run.h"

#include "driver/errors.h"
#include "driver/options.h"
#include "driver/output_file.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "report/summary.h"
#include "scan/findfiles.h"
#include "scan/subdir.h"
#include "zazaz32/path.h"

void COMPLETE_TARGET() {
  if (NOMEFILE.empty()) {
    NOMEFILE = current_directory(0);
    if (NOMEFILE.last() != '\\') NOMEFILE += '\\';
    NOMEFILE += "*.*";
  }
  if (NOMEFILE.length() >= 2 && NOMEFILE[1] == ':') {
    UNITA = NOMEFILE[0];
  } else {
    UNITA = current_directory(0).first();
  }
  if (NOMEFILE.last() == ':' || NOMEFILE.last() == '\\') NOMEFILE += "*.*";
  if (ISDIR(NOMEFILE)) NOMEFILE += "\\*.*";
}

void RUN() {
  reset_state();
  READ_OPTIONS();
  if (!OUTFILE.empty()) OPEN_OUTPUT();
  COMPLETE_TARGET();
  if (SUB) {
    SCAN_TREE();
  } else {
    FINDFILES(NOMEFILE);
  }
  if (TOT_COUNT == 0) ERR(kErrNotFound);
  RESOCONTO(UNITA);
  if (TESTO.handle != -1) {
    // The report is complete only once the file has taken its last buffer.
    text_close(TESTO);
    if (io_status() != 0) ERR(kErrOutputFile);
  }
  io_status();
  terminate(0);
}
