#ifndef VESK_PLATFORM_POSIX_ATTRIBUTES_H_
#define VESK_PLATFORM_POSIX_ATTRIBUTES_H_

// DOS attributes of Unix files. Directories are 0x10, regular files 0x20
// (archive); a name beginning with "." (but "." and "..") is hidden; a file
// its owner cannot write is read-only; hidden and system may also come from
// the extended attribute user.DOSATTRIB, whose value begins with the
// attribute bits as a hexadecimal number ("0x2", "0x26"), the convention of
// file servers that keep DOS attributes on Unix. A link to a directory is a
// directory with 0x400 (reparse point) added, so that a walk knows not to
// follow it.

#include <sys/stat.h>
#include <cstdint>
#include <string_view>

// The hidden and system bits of a user.DOSATTRIB value; 0 when it does not
// begin with a hexadecimal number.
std::uint16_t dosattrib_bits(std::string_view value);

enum class XattrRead { kRead, kNone, kUnsupported };

// Reads user.DOSATTRIB of path (following a link) into bits; kUnsupported
// when the file system keeps no extended attributes.
XattrRead read_dosattrib(const char* path, std::uint16_t& bits);

// The attributes of a file named name (its last path piece), described by
// info (the link's target when link is true), with the bits from its
// user.DOSATTRIB.
std::uint16_t attributes_of(const struct stat& info, std::string_view name, bool link,
                            std::uint16_t xattr_bits);

#endif  // VESK_PLATFORM_POSIX_ATTRIBUTES_H_
