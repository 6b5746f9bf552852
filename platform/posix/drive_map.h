#ifndef VESK_PLATFORM_POSIX_DRIVE_MAP_H_
#define VESK_PLATFORM_POSIX_DRIVE_MAP_H_

// Drive letters on the Unix file system. Z: is the root "/"; a further
// letter X names a drive only when the environment variable VESK_DRIVE_X
// holds an existing directory, which becomes its root. The current drive
// starts as Z:, and the current drive's directory is always the process's
// working directory; the other drives remember theirs here.

#include <cstddef>
#include <string>
#include <string_view>

#include "zazaz32/str255.h"

// A DOS path mapped onto the Unix file system. text is the drive's root
// followed by the pieces, joined with "/"; "." and ".." are already resolved.
struct UnixPath {
  std::string text;
  std::size_t pieces_start = 0;  // where the first piece begins in text
  char drive = 'Z';
  bool at_root = true;              // no piece after the drive's root
  bool trailing_separator = false;  // the DOS path ended in "\" or "/"
};

// (Re)reads the mapped letters from the environment; the current drive
// becomes Z: and every remembered directory its drive's root. Done once on
// first use; call again after changing the environment.
void drive_map_load();

// The Unix root of drive letter (A to Z, either case); empty when unmapped.
std::string_view drive_root(char letter);

// The current drive: the one last selected, as long as the working directory
// lies on it, otherwise Z:.
char current_drive();

// The current directory of a mapped drive in DOS form ("Z:\home\me", "Z:\").
Str255 drive_directory(char letter);

// Makes letter the current drive, once the working directory has been moved
// onto it.
void drive_select(char letter);

// Keeps directory as the current directory of letter while another drive is
// the current one.
void drive_remember(char letter, const Str255& directory);

// The working directory of the process; "/" when it cannot be read.
std::string working_directory();

// The DOS form of an absolute Unix path that lies under the root of drive.
Str255 dos_of_unix(char drive, std::string_view unix_path);

// Whether piece may stand in a DOS name: no control character and none of
// < > : " |, nor the wildcards * and ? unless wildcards is true.
bool dos_piece_valid(std::string_view piece, bool wildcards);

// Maps a DOS path: "\" and "/" separate pieces, a leading "X:" names the
// drive, a path without a leading separator starts at that drive's current
// directory. With wildcards_in_last the last piece may hold "*" and "?".
// Fails with a Win32 error number for an unmapped drive, a server path, or
// a piece holding a character that no DOS name may hold.
bool map_dos_path(std::string_view dos, bool wildcards_in_last, UnixPath& out, int& error);

#endif  // VESK_PLATFORM_POSIX_DRIVE_MAP_H_
