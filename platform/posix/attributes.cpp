#include "platform/posix/attributes.h"

#include <sys/xattr.h>
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/io_state.h"
#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/error_code.h"

namespace {

constexpr const char* kDosAttrib = "user.DOSATTRIB";
constexpr std::uint16_t kFromXattr = kAttrHidden | kAttrSystem;

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view last_piece(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// lstat and, for a link, stat of its target: the one file lookup that both
// attribute services start with. False with errno set when the path is absent.
bool look_up(UnixPath& path, struct stat& info, bool& link) {
  int result = lstat(path.text.c_str(), &info);
  if (result != 0 && case_may_differ(errno) && resolve_case(path)) {
    result = lstat(path.text.c_str(), &info);
  }
  if (result != 0) return false;
  link = S_ISLNK(info.st_mode);
  struct stat target;
  // A dangling link stays what lstat said it is.
  if (link && stat(path.text.c_str(), &target) == 0) info = target;
  return true;
}

}  // namespace

std::uint16_t dosattrib_bits(std::string_view value) {
  if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  unsigned bits = 0;
  for (std::size_t i = 2; i < value.size() && hex_digit(value[i]) >= 0 && i < 10; ++i) {
    bits = bits * 16 + static_cast<unsigned>(hex_digit(value[i]));
  }
  return static_cast<std::uint16_t>(bits & kFromXattr);
}

XattrRead read_dosattrib(const char* path, std::uint16_t& bits) {
  // The text comes first, also where a file server keeps a binary record
  // after it; such records stay well below this size.
  char value[256];
  bits = 0;
  ssize_t length = getxattr(path, kDosAttrib, value, sizeof value);
  if (length < 0) return errno == ENOTSUP ? XattrRead::kUnsupported : XattrRead::kNone;
  bits = dosattrib_bits(std::string_view(value, static_cast<std::size_t>(length)));
  return XattrRead::kRead;
}

std::uint16_t attributes_of(const struct stat& info, std::string_view name, bool link,
                            std::uint16_t xattr_bits) {
  std::uint16_t attr = xattr_bits & kFromXattr;
  if (S_ISDIR(info.st_mode)) {
    attr |= kAttrDirectory;
    if (link) attr |= kAttrReparse;
  } else if (S_ISREG(info.st_mode)) {
    attr |= kAttrArchive;
  }
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= kAttrHidden;
  if ((info.st_mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
  return attr;
}

std::uint16_t read_attributes(const Str255& path) {
  UnixPath unix_path;
  int error = 0;
  if (!map_dos_path(path.view(), false, unix_path, error)) {
    os_set(error);
    return 0;
  }
  struct stat info;
  bool link = false;
  if (!look_up(unix_path, info, link)) {
    os_set(win32_error(errno, kErrAccessDenied));
    return 0;
  }
  // "NAME\" asks for a directory; a file of that name is not one.
  if (unix_path.trailing_separator && !S_ISDIR(info.st_mode)) {
    os_set(kErrInvalidName);
    return 0;
  }
  std::uint16_t bits = 0;
  read_dosattrib(unix_path.text.c_str(), bits);
  os_set(0);
  return attributes_of(info, unix_path.at_root ? "" : last_piece(unix_path.text), link, bits);
}

void write_attributes(const Str255& path, std::uint16_t attr) {
  UnixPath unix_path;
  int error = 0;
  if (!map_dos_path(path.view(), false, unix_path, error)) {
    os_set(error);
    return;
  }
  struct stat info;
  bool link = false;
  if (!look_up(unix_path, info, link)) {
    os_set(win32_error(errno, kErrAccessDenied));
    return;
  }
  const char* file = unix_path.text.c_str();
  // Read-only is the owner's write permission; clearing it gives that back
  // and leaves the group's and the others' alone.
  mode_t mode = info.st_mode & 07777;
  mode_t wanted = (attr & kAttrReadOnly) ? mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
  if (wanted != mode && chmod(file, wanted) != 0) {
    os_set(win32_error(errno, kErrAccessDenied));
    return;
  }
  std::uint16_t bits = attr & kFromXattr;
  int result = 0;
  if (bits != 0) {
    char value[8];
    int length = std::snprintf(value, sizeof value, "0x%x", static_cast<unsigned>(bits));
    result = setxattr(file, kDosAttrib, value, static_cast<std::size_t>(length), 0);
  } else if (removexattr(file, kDosAttrib) != 0 && errno != ENODATA && errno != ENOTSUP) {
    result = -1;  // without a stored value there is nothing to clear
  }
  os_set(result == 0 ? 0 : win32_error(errno, kErrAccessDenied));
}
