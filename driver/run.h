#ifndef VESK_DRIVER_RUN_H_
#define VESK_DRIVER_RUN_H_

// One invocation, from the initial state to the exit code: options, output
// file, target, scan, not-found test, summary, close. Never returns.
[[noreturn]] void RUN();

// Completes the target specification in NOMEFILE and sets the drive letter
// UNITA: the current directory when none was given, "*.*" after a drive, a
// "\" or a directory.
void COMPLETE_TARGET();

#endif  // VESK_DRIVER_RUN_H_
