#ifndef VESK_DRIVER_ERRORS_H_
#define VESK_DRIVER_ERRORS_H_

// The one way a run reports a failure, and the help screen. Both write to the
// console only and end the process with exit code 1.

// Error codes, each with its fixed message.
enum ErrorCode : int {
  kErrBadNumber = 1,      // "Valore numerico errato nel parametro " + /MAX or /MIN
  kErrUnknownOption = 3,  // "Parametro sconosciuto: " + the token
  kErrUserBreak = 4,      // "Operazione interrotta dall' utente"
  kErrOutputFile = 5,     // "File di output non valido: " + the output name
  kErrListFile = 6,       // the temporary list file failed
  kErrBadDrive = 7,       // "Unita' specificata non valida"
  kErrNotFound = 8,       // "File non trovato"
  kErrOutputExists = 9,   // "Il file di output esiste gia'"
  kErrReservedName = 10,  // "Nome di file riservato " + the output name
};

// Prints the message of code on a line of its own, keeps what the output file
// had accepted, removes the list file this run created, and ends with 1.
[[noreturn]] void ERR(int code);

// The usage screen for /?; ends with exit code 1.
[[noreturn]] void HELP();

#endif  // VESK_DRIVER_ERRORS_H_
