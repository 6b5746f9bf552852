#include "driver/errors.h"

#include "driver/state.h"
#include "platform/platform.h"
#include "scan/subdir.h"
#include "zazaz32/os_prog.h"

namespace {

void start_fresh_line() {
  if (con_column() != 1) con_put_line("");
}

}  // namespace

void ERR(int code) {
  start_fresh_line();
  switch (code) {
    case kErrBadNumber:
      con_put("Valore numerico errato nel parametro ");
      con_put_line(TESTA.copy(1, 4));
      break;
    case kErrUnknownOption:
      con_put("Parametro sconosciuto: ");
      con_put_line(TESTA);
      break;
    case kErrUserBreak:
      con_put_line("Operazione interrotta dall' utente");
      break;
    case kErrOutputFile:
      con_put("File di output non valido: ");
      con_put_line(OUTFILE);
      break;
    case kErrListFile:
      con_put_line("Errore nell' accedere al file temporaneo. Operazione abortita.");
      break;
    case kErrBadDrive:
      con_put_line("Unita' specificata non valida");
      break;
    case kErrNotFound:
      con_put_line("File non trovato");
      break;
    case kErrOutputExists:
      con_put_line("Il file di output esiste gia'");
      break;
    case kErrReservedName:
      con_put("Nome di file riservato ");
      con_put_line(OUTFILE);
      break;
    default:
      break;
  }
  // The report lines accepted so far stay in the output file: write out what
  // its buffer still holds. A failure here has already been reported.
  if (TESTO.handle != -1) {
    text_close(TESTO);
    io_status();
  }
  discard_list_file();
  terminate(1);
}

void HELP() {
  start_fresh_line();
  static const char* const kLines[] = {
      "VESK : visualizza informazioni riassuntive sui files indicati e la loro unita'",
      "",
      nullptr,  // the version line, built below
      "",
      "     /?         Questa schermata",
      "     files      Files da elaborare",
      "     /MAX<mm>   Dimensione massima in bytes compresa tra 0 e 2 Gbytes",
      "     /MIN<nn>   Dimensione minima in bytes compresa tra 0 e 2 Gbytes",
      "     /S         Elabora anche le sottodirectory",
      "     /H         Analizza anche i files con attributi nascosto e/o di sistema",
      "     /V         Mostra solo il resoconto finale",
      "     /P         Mostra le informazioni una schermata alla volta",
      "     +outfile   Scrive le informazioni in outfile (esclude /P)",
      "     /AA        Se outfile esiste, accoda le informazioni",
      "     /AC        Se outfile esiste, chiede se accodare o",
      "                sovrascrivere le informazioni o uscire dal programma",
      "     /AS        Se outfile esiste, sovrascrive le informazioni",
      "     /AE        Se outfile esiste, il programma si chiude",
      "",
      "Opzioni inverse:  /-H  /-S  /-V  /-P",
      "Opzioni inizialmente abilitate:  /-H  /-S  /-V  /-P  /AC",
  };
  for (const char* line : kLines) {
    if (line != nullptr) {
      con_put_line(line);
    } else {
      con_put_line(Str255("   VESK   [opzioni]                       Versione 1.20 per ") +
                   OS_PROG() + " 32 bit");
    }
  }
  terminate(1);
}
