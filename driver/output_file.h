#ifndef VESK_DRIVER_OUTPUT_FILE_H_
#define VESK_DRIVER_OUTPUT_FILE_H_

// Opens the output file named by OUTFILE under the policy in ACCODA: append,
// ask, overwrite, or stop when the file exists. Turns paging off. Refuses the
// reserved device names (error 10); a name whose name part is NUL discards
// the report. An open that fails is reported by the first report line.
void OPEN_OUTPUT();

#endif  // VESK_DRIVER_OUTPUT_FILE_H_
