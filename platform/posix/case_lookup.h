#ifndef VESK_PLATFORM_POSIX_CASE_LOOKUP_H_
#define VESK_PLATFORM_POSIX_CASE_LOOKUP_H_

// Finding names whatever their case. The program upper-cases what the user
// types, so a piece of a path that does not exist as written is looked up in
// its directory ignoring the case of a to z. The services first try the path
// as written and call resolve_case only when that fails with ENOENT or
// ENOTDIR (or, for a name about to be created, before creating it).

#include "platform/posix/drive_map.h"

// Rewrites the pieces of path after the drive's root to the names found on
// disk: a piece that exists as written stays, one that exists in another case
// takes the name on disk, and from the first piece found in neither way the
// rest stays as written. True when path.text changed.
//
// A piece found only in another case costs a listing of its directory, and
// so that this happens once per such directory and not once per lookup, the
// last few directories found that way are remembered: a path below one of
// them starts there, checking only the pieces after it.
bool resolve_case(UnixPath& path);

// Whether an operation that failed with errnum may succeed once the case of
// the path has been resolved.
bool case_may_differ(int errnum);

// Forgets the remembered directories (after a directory was renamed, and
// between tests).
void case_lookup_forget();

#endif  // VESK_PLATFORM_POSIX_CASE_LOOKUP_H_
