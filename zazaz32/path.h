#ifndef VESK_ZAZAZ32_PATH_H_
#define VESK_ZAZAZ32_PATH_H_

// Path functions: splitting a path into directory and name, expanding it to
// a full path with %NAME% references replaced, and asking whether it names
// a directory or a file. Paths use "\"; the splitting and expanding functions
// take "/" for "\" as well. None keeps state, prints or reports an error.

#include <cstdint>

#include "zazaz32/str255.h"

// dir: the drive part (first character and ":" when the path holds a ":")
// and the directories up to and including the last "\"; ext: from the last
// "." of what follows to the end, with the "."; name: what lies between.
// Every "/" is taken as "\". "C:\DATA\F.TXT" gives "C:\DATA\", "F", ".TXT".
struct PathParts {
  Str255 dir, name, ext;
};
PathParts path_split(const Str255& path);

// The directory part of path, with its final "\" ("C:\DATA\*.TXT" gives
// "C:\DATA\", "C:*.TXT" gives "C:", "*.TXT" the empty text).
Str255 PATHOF(const Str255& path);
// Name and extension of path: everything after the directory part.
Str255 NAMEOF(const Str255& path);

// The full path of path: relative paths are taken from the current directory
// of their drive ("X:rest") or of the current drive, "\rest" from the current
// drive's root, "\\SERVER\SHARE" forms the root of a server path. "." pieces
// vanish, ".." removes the piece before it but never climbs above the root.
// The drive letter is upper-cased, nothing else. The result ends with "\"
// only when it is a root, when path is empty or when path ends with "\".
Str255 path_expand(const Str255& path);

// text with its %NAME% references replaced by the values of the environment
// variables (names matched ignoring case), rescanning after each one; with
// full also made a full path by path_expand. When a "%" is left over (an
// unknown or empty variable, a lone "%") or the references keep producing
// new ones, text comes back exactly as given, with no full path formed.
Str255 ESPANSIONE(const Str255& text, bool full);
Str255 FEXPAND2(const Str255& text);  // ESPANSIONE(text, true)

// True when path names an existing directory. A doubled backslash after the
// first character, the text "\\" alone and the empty text give false without
// asking the file system.
bool ISDIR(const Str255& path);

// -1 when path names no existing file (directories and volume labels do not
// count; hidden, system and read-only files do), else the file's real size
// in bytes. A path ending in "." or holding "*" or "?" gives -1.
std::int64_t EXIST(const Str255& path);

// path with every "/" replaced by "\".
Str255 path_backslashes(const Str255& path);

// text with a to z made A to Z; every other character unchanged.
Str255 UPSTR(const Str255& text);

#endif  // VESK_ZAZAZ32_PATH_H_
