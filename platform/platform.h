#ifndef VESK_PLATFORM_PLATFORM_H_
#define VESK_PLATFORM_PLATFORM_H_

// The services the core asks of the operating system: the console, directory
// enumeration, drives and directories, files, the environment and the process.
// Paths are DOS paths (drive letter, "\" separators) on every build; each
// backend maps them to its own file system. Only our own types cross here.

#include <cstdint>

#include "zazaz32/str255.h"

// ---------------------------------------------------------------- process

// Connects the console and records the command line. Without a console it
// writes "No way to get the console handle" on standard error and ends the
// process with status 1.
void platform_start(int argc, char** argv);

// Number of parameters after the program name, and parameter i (0 is the
// program's own file name; outside 0..arg_count() an empty text).
int arg_count();
Str255 arg_text(int i);

// The value of the first environment entry whose name matches, ignoring the
// case of a to z; empty when there is none.
Str255 env_lookup(const Str255& name);

// Three letters naming the platform of this build ("WIN", "LNX").
Str255 platform_name();

// The file that must not outlive the process: terminate() leaves it alone,
// but an ending outside the run sequence (a failing strict call, a signal,
// a closed terminal) removes it. An empty path clears it.
void remove_on_abort(const Str255& path);

// Restores the console and ends the process with the exit code.
[[noreturn]] void terminate(int code);

// Ends the process at once with status 217 after a one-line message on
// standard error: the fate of every failing strict call.
[[noreturn]] void strict_failure(const char* what);

// ---------------------------------------------------------------- console

// Shows s at the cursor: CR to column 1, LF to the next row, BS one column
// left unless in column 1, BEL not shown; past the last column the text goes
// on in the next row. The console is reached even when standard output is
// redirected. Strict: a failure ends the process.
void con_put(const Str255& s);
void con_put_line(const Str255& s);  // s, then CR LF

// 1-based cursor column, read at start and then followed from our output.
int con_column();

// Waits for a key and gives its character. A key without one (arrows,
// function keys, Alt combinations) gives 0, and the next call gives its
// second value (the PC scan code) without waiting. Enter 13, Escape 27.
int con_read_key();

// Whether a key press is waiting; never waits; the key stays for con_read_key.
bool con_key_waiting();

// ------------------------------------------------------------ enumeration

// Attribute bits of a directory entry.
constexpr std::uint16_t kAttrReadOnly = 0x01;
constexpr std::uint16_t kAttrHidden = 0x02;
constexpr std::uint16_t kAttrSystem = 0x04;
constexpr std::uint16_t kAttrVolume = 0x08;
constexpr std::uint16_t kAttrDirectory = 0x10;
constexpr std::uint16_t kAttrArchive = 0x20;
constexpr std::uint16_t kAttrReparse = 0x400;  // a link: a walk must not follow it

struct DirEntry {
  Str255 name;
  std::int64_t size = 0;  // the entry's real length in bytes
  std::uint16_t attr = 0;
};

// Walks the entries that the pattern (a directory path and a last piece with
// the wildcards "*" and "?") matches, ordered by their upper-cased names, "."
// and ".." first except at a drive root. An entry is skipped when its attr has
// a bit of 0x02, 0x04, 0x08 or 0x10 that mask lacks. Each call sets os_status:
// 0 when an entry came (and true is returned), non-zero at the end or when
// nothing matched. A new scan_first abandons the walk before it.
bool scan_first(const Str255& pattern, std::uint16_t mask, DirEntry& entry);
bool scan_next(DirEntry& entry);

// The same walk limited to the subdirectories among the matching entries
// ("." and ".." included), for a walk of a tree: each comes with its name and
// the directory and reparse bits; size and the other bits are not looked up.
// Where the listing itself tells an entry's type, no file is looked at.
bool scan_dirs_first(const Str255& pattern, DirEntry& entry);
bool scan_dirs_next(DirEntry& entry);

// Status of the last enumeration or attribute call; 0 is success.
int os_status();

// ----------------------------------------------------- drives, directories

// Bytes of drive d (0 the current drive, 1 A:, 2 B: ...), -1 on failure.
std::int64_t drive_capacity(int d);
std::int64_t drive_free(int d);

// The current directory of drive d (0 the current drive); the drive's root
// when the drive cannot be selected; only a root ends in "\".
Str255 current_directory(int d);

// Attributes of a path (0 on failure) and setting them; both set os_status.
std::uint16_t read_attributes(const Str255& path);
void write_attributes(const Str255& path, std::uint16_t attr);

// One directory level, created or entered; "X:" selects drive X at its
// current directory. An empty path does nothing and succeeds. Both set
// io_status.
void create_dir(const Str255& path);
void enter_dir(const Str255& path);

// Removes a file; no status.
void remove_file(const Str255& path);

// Returns and clears the status of the text, record and directory operations
// (0 success, otherwise a Win32 error number). While it is non-zero, every
// further such operation does nothing.
int io_status();

// Status values shared by the backends (the Win32 error numbers).
constexpr int kErrFileNotFound = 2;
constexpr int kErrPathNotFound = 3;
constexpr int kErrAccessDenied = 5;
constexpr int kErrInvalidHandle = 6;
constexpr int kErrWriteFault = 29;
constexpr int kErrReadFault = 30;
constexpr int kErrHandleEof = 38;
constexpr int kErrFileExists = 80;
constexpr int kErrDiskFull = 112;
constexpr int kErrInvalidName = 123;
constexpr int kErrNotReady = 21;

// ------------------------------------------------------------ text files

// A text file written through a 256-byte buffer, flushed when full and at close.
struct TextFile {
  std::intptr_t handle = -1;
  int used = 0;
  char buffer[256];
};

void text_create(TextFile& f, const Str255& path);  // new or truncated
void text_append(TextFile& f, const Str255& path);  // existing file, at its end
void text_put(TextFile& f, const Str255& s);
void text_put_line(TextFile& f, const Str255& s);  // s, then CR LF
void text_close(TextFile& f);

// ---------------------------------------------------------- record files

// A file of fixed-size records, read and written at a current record.
// Appends and reads go through two buffers of the file's own, so a long run
// of records costs one system call per buffer, not one per record; the file
// on disk is still the whole list. Records may be up to kRecordBuffer bytes.
constexpr int kRecordBuffer = 32768;

struct RecordFile {
  std::intptr_t handle = -1;
  int size = 0;                   // bytes per record
  std::int64_t position = 0;      // current record, from 0
  std::int64_t on_disk = 0;       // records that the file itself holds
  int appended = 0;               // records after those, still in `tail`
  std::int64_t cached_first = 0;  // number of the first record in `cache`
  int cached = 0;                 // records in `cache`
  unsigned char tail[kRecordBuffer];
  unsigned char cache[kRecordBuffer];
};

// Creates a new file that must not exist yet (io_status kErrFileExists when it
// does); never follows a link, never truncates.
void records_create_new(RecordFile& f, const Str255& path, int size);
// Opens an existing writable file.
void records_open(RecordFile& f, const Str255& path, int size);
void records_read(RecordFile& f, unsigned char* record);
void records_write(RecordFile& f, const unsigned char* record);
void records_seek(RecordFile& f, std::int64_t k);
std::int64_t records_count(RecordFile& f);  // strict
bool records_at_end(RecordFile& f);         // strict
void records_close(RecordFile& f);

#endif  // VESK_PLATFORM_PLATFORM_H_
