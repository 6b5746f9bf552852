#ifndef VESK_REPORT_SUMMARY_H_
#define VESK_REPORT_SUMMARY_H_

// The closing block of a complete run: the drive's letter, size, free and
// used space with their percentages; with /S the files found and their share
// of the drive; then "---FINE---" and an empty line. Error 7 when the drive's
// size cannot be had.
void RESOCONTO(char letter);

#endif  // VESK_REPORT_SUMMARY_H_
