#ifndef VESK_PLATFORM_POSIX_PROCESS_H_
#define VESK_PLATFORM_POSIX_PROCESS_H_

// Ends the process the way signal_number does, after restoring the terminal
// and removing the file of remove_on_abort. Safe in a signal handler; also
// the end of a run whose terminal has gone (a read that fails after a hangup).
[[noreturn]] void end_by_signal(int signal_number);

#endif  // VESK_PLATFORM_POSIX_PROCESS_H_
