// Directory enumeration: scan_first and scan_next.
//
// A walk lists the matching names of one directory once, sorts them the way
// the entries come on a DOS file system (by upper-cased name), and then
// delivers them one by one, each looked up with one stat when it is
// delivered. The names live in one buffer and one offset array, reused from
// walk to walk, so a walk allocates nothing per entry.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io_state.h"
#include "platform/platform.h"
#include "platform/posix/attributes.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/error_code.h"
#include "platform/posix/wildcard.h"

namespace {

constexpr int kErrNoMoreFiles = 18;  // the Win32 number for the end of a walk

struct Walk {
  int directory_fd = -1;
  std::string directory;  // the directory's Unix path, for the xattr reads
  // Each name is stored as its d_type byte, the name, and a NUL.
  std::string names;
  std::vector<std::uint32_t> order;  // offsets into names, in delivery order
  std::size_t next = 0;
  std::uint16_t mask = 0;
  bool dirs_only = false;           // a walk of scan_dirs_first
  bool xattrs_unsupported = false;  // the file system said so once
  std::string entry_path;           // scratch for building one entry's path
};

Walk walk;

void end_walk() {
  if (walk.directory_fd >= 0) close(walk.directory_fd);
  walk.directory_fd = -1;
  walk.names.clear();
  walk.order.clear();
  walk.next = 0;
  walk.xattrs_unsupported = false;
}

void add_name(unsigned char type, std::string_view name) {
  walk.order.push_back(static_cast<std::uint32_t>(walk.names.size()));
  walk.names += static_cast<char>(type);
  walk.names += name;
  walk.names += '\0';
}

std::string_view name_at(std::uint32_t offset) {
  return std::string_view(walk.names.c_str() + offset + 1);
}

bool is_dot_name(std::string_view name) {
  return name == "." || name == "..";
}

// A listing of the open directory of the walk, which keeps its own handle
// for the stats that follow; nullptr with errno set on failure.
DIR* open_listing() {
  int listing_fd = dup(walk.directory_fd);
  if (listing_fd < 0) return nullptr;
  DIR* listing = fdopendir(listing_fd);
  if (listing == nullptr) {
    int failure = errno;
    close(listing_fd);
    errno = failure;
  }
  return listing;
}

// Lists the names of the open directory that match pattern; "." and ".." are
// left out at a drive's root, which has no parent to name. 0, or the errno
// of a directory that cannot be read.
int list_matching(std::string_view pattern, bool at_root) {
  DIR* listing = open_listing();
  if (listing == nullptr) return errno;
  while (const dirent* entry = readdir(listing)) {
    std::string_view name(entry->d_name);
    if (at_root && is_dot_name(name)) continue;
    if (wildcard_match(pattern, name)) add_name(entry->d_type, name);
  }
  closedir(listing);
  std::sort(walk.order.begin(), walk.order.end(),
            [](std::uint32_t a, std::uint32_t b) { return name_before(name_at(a), name_at(b)); });
  return 0;
}

// The one entry a name without wildcards asks for: as written if it exists
// so (no listing then), else the name on disk that equals it ignoring case.
// 0 also when there is no such entry; the errno of a failed lookup.
int find_named(std::string_view name, bool at_root) {
  if (at_root && is_dot_name(name)) return 0;
  std::string written(name);
  struct stat info;
  if (fstatat(walk.directory_fd, written.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
    add_name(S_ISLNK(info.st_mode) ? DT_LNK : DT_UNKNOWN, name);
    return 0;
  }
  if (errno != ENOENT) return errno;
  DIR* listing = open_listing();
  if (listing == nullptr) return errno;
  while (const dirent* entry = readdir(listing)) {
    if (equal_ignoring_case(entry->d_name, name)) {
      add_name(entry->d_type, entry->d_name);
      break;
    }
  }
  closedir(listing);
  return 0;
}

// For a walk of directories only: fills entry when the name at offset is a
// directory or a link to one. The type from the listing saves a lookup of
// every file and of every plain directory; only links and names of unknown
// type are looked up.
bool describe_directory(std::uint32_t offset, DirEntry& entry) {
  auto type = static_cast<unsigned char>(walk.names[offset]);
  std::string_view name = name_at(offset);
  const char* c_name = walk.names.c_str() + offset + 1;
  bool link = type == DT_LNK;
  if (type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) return false;
  if (type != DT_DIR) {
    struct stat info;
    if (fstatat(walk.directory_fd, c_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    link = S_ISLNK(info.st_mode);
    if (link && fstatat(walk.directory_fd, c_name, &info, 0) != 0) return false;
    if (!S_ISDIR(info.st_mode)) return false;
  }
  entry.name = Str255(name);
  entry.size = 0;
  entry.attr = static_cast<std::uint16_t>(kAttrDirectory | (link ? kAttrReparse : 0));
  return true;
}

// Fills entry from the name at offset; false when it vanished meanwhile.
bool describe(std::uint32_t offset, DirEntry& entry) {
  if (walk.dirs_only) return describe_directory(offset, entry);
  auto type = static_cast<unsigned char>(walk.names[offset]);
  std::string_view name = name_at(offset);
  const char* c_name = walk.names.c_str() + offset + 1;
  struct stat info;
  bool link = type == DT_LNK;
  if (!link) {
    if (fstatat(walk.directory_fd, c_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    link = S_ISLNK(info.st_mode);  // only when the listing could not tell
  }
  // A link is described by its target; a dangling one by itself.
  if (link && fstatat(walk.directory_fd, c_name, &info, 0) != 0 &&
      fstatat(walk.directory_fd, c_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return false;
  }
  std::uint16_t bits = 0;
  if (!walk.xattrs_unsupported) {
    walk.entry_path.assign(walk.directory);
    if (walk.entry_path != "/") walk.entry_path += '/';
    walk.entry_path += name;
    if (read_dosattrib(walk.entry_path.c_str(), bits) == XattrRead::kUnsupported) {
      walk.xattrs_unsupported = true;
    }
  }
  entry.name = Str255(name);
  entry.attr = attributes_of(info, name, link, bits);
  entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
  return true;
}

// Delivers the next entry that the mask lets through.
bool deliver(DirEntry& entry, int status_at_end) {
  constexpr std::uint16_t kMaskable = kAttrHidden | kAttrSystem | kAttrVolume | kAttrDirectory;
  while (walk.next < walk.order.size()) {
    std::uint32_t offset = walk.order[walk.next++];
    DirEntry candidate;
    if (!describe(offset, candidate)) continue;
    if ((candidate.attr & kMaskable & ~walk.mask) != 0) continue;
    entry = candidate;
    os_set(0);
    return true;
  }
  end_walk();
  os_set(status_at_end);
  return false;
}

// Where the last piece of a DOS pattern begins.
std::size_t last_piece_start(std::string_view pattern) {
  std::size_t separator = pattern.find_last_of("\\/");
  if (separator != std::string_view::npos) return separator + 1;
  return pattern.size() >= 2 && pattern[1] == ':' ? 2 : 0;
}

int open_directory(UnixPath& directory) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  int fd = open(directory.text.c_str(), kFlags);
  if (fd < 0 && case_may_differ(errno) && resolve_case(directory)) {
    fd = open(directory.text.c_str(), kFlags);
  }
  return fd;
}

bool start_walk(const Str255& pattern, std::uint16_t mask, bool dirs_only, DirEntry& entry) {
  end_walk();
  walk.mask = mask;
  walk.dirs_only = dirs_only;
  std::string_view text = pattern.view();
  std::size_t cut = last_piece_start(text);
  std::string_view piece = text.substr(cut);
  UnixPath directory;
  int error = 0;
  if (!map_dos_path(text.substr(0, cut), false, directory, error)) {
    os_set(error);
    return false;
  }
  if (piece.empty() || !dos_piece_valid(piece, true)) {
    os_set(piece.empty() ? kErrFileNotFound : kErrInvalidName);
    return false;
  }
  walk.directory_fd = open_directory(directory);
  if (walk.directory_fd < 0) {
    os_set(case_may_differ(errno) ? kErrPathNotFound : win32_error(errno, kErrAccessDenied));
    return false;
  }
  walk.directory = directory.text;
  int failure = has_wildcards(piece) ? list_matching(piece, directory.at_root)
                                     : find_named(piece, directory.at_root);
  if (failure != 0) {
    end_walk();
    os_set(win32_error(failure, kErrAccessDenied));
    return false;
  }
  return deliver(entry, kErrFileNotFound);
}

}  // namespace

bool scan_first(const Str255& pattern, std::uint16_t mask, DirEntry& entry) {
  return start_walk(pattern, mask, false, entry);
}

bool scan_next(DirEntry& entry) {
  return deliver(entry, kErrNoMoreFiles);
}

bool scan_dirs_first(const Str255& pattern, DirEntry& entry) {
  constexpr std::uint16_t kEveryDirectory = kAttrHidden | kAttrSystem | kAttrDirectory;
  return start_walk(pattern, kEveryDirectory, true, entry);
}

bool scan_dirs_next(DirEntry& entry) {
  return deliver(entry, kErrNoMoreFiles);
}
