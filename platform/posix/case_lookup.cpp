#include "platform/posix/case_lookup.h"

#include <dirent.h>
#include <sys/stat.h>
#include <cerrno>
#include <string>
#include <string_view>

#include "platform/posix/wildcard.h"

namespace {

// A directory reached through at least one piece that had to be looked up
// ignoring case: the path as written and the path on disk.
struct KnownDirectory {
  std::string written;
  std::string on_disk;
  unsigned last_use = 0;
};

constexpr int kKnownDirectories = 8;
KnownDirectory known[kKnownDirectories];
unsigned use_clock = 0;

bool is_piece_prefix(std::string_view prefix, std::string_view path) {
  return !prefix.empty() && path.starts_with(prefix) &&
         (path.size() == prefix.size() || path[prefix.size()] == '/');
}

bool is_directory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The remembered directory that is the longest prefix of written, checked
// to be still there; -1 when none is.
int best_known(std::string_view written) {
  for (;;) {
    int best = -1;
    for (int i = 0; i < kKnownDirectories; ++i) {
      if (!is_piece_prefix(known[i].written, written)) continue;
      known[i].last_use = ++use_clock;
      if (best < 0 || known[i].written.size() > known[best].written.size()) best = i;
    }
    if (best < 0 || is_directory(known[best].on_disk)) return best;
    known[best] = KnownDirectory();  // gone or renamed: look it up afresh
  }
}

void remember(std::string_view written, std::string_view on_disk) {
  if (written == on_disk) return;
  int slot = 0;
  for (int i = 0; i < kKnownDirectories; ++i) {
    if (known[i].written == written) {
      slot = i;
      break;
    }
    if (known[i].last_use < known[slot].last_use) slot = i;
  }
  known[slot].written.assign(written);
  known[slot].on_disk.assign(on_disk);
  known[slot].last_use = ++use_clock;
}

// The name in directory that equals piece ignoring case, into found.
bool find_ignoring_case(const std::string& directory, std::string_view piece, std::string& found) {
  DIR* listing = opendir(directory.c_str());
  if (listing == nullptr) return false;
  bool hit = false;
  while (const dirent* entry = readdir(listing)) {
    if (equal_ignoring_case(entry->d_name, piece)) {
      found.assign(entry->d_name);
      hit = true;
      break;
    }
  }
  closedir(listing);
  return hit;
}

void append_piece(std::string& path, std::string_view piece) {
  if (path != "/") path += '/';
  path += piece;
}

}  // namespace

bool case_may_differ(int errnum) {
  return errnum == ENOENT || errnum == ENOTDIR;
}

void case_lookup_forget() {
  for (KnownDirectory& entry : known) entry = KnownDirectory();
}

bool resolve_case(UnixPath& path) {
  const std::string written = path.text;
  std::size_t root_length = path.pieces_start > 1 ? path.pieces_start - 1 : 1;
  std::string on_disk;
  std::size_t next;  // where the pieces still to check begin in written
  int start = best_known(written);
  if (start >= 0 && known[start].written.size() >= root_length) {
    on_disk = known[start].on_disk;
    next = known[start].written.size();
  } else {
    on_disk = written.substr(0, root_length);
    next = root_length;
  }
  std::size_t corrected_end = 0;  // in written, after the last piece looked up by case
  std::size_t corrected_disk_end = 0;
  bool complete = true;
  std::string found;
  while (next < written.size()) {
    if (written[next] == '/') ++next;
    std::size_t end = written.find('/', next);
    if (end == std::string::npos) end = written.size();
    std::string_view piece(written.data() + next, end - next);
    std::size_t base_length = on_disk.size();
    append_piece(on_disk, piece);
    struct stat info;
    if (lstat(on_disk.c_str(), &info) != 0) {
      int failure = errno;
      on_disk.resize(base_length);
      if (failure != ENOENT || !find_ignoring_case(on_disk, piece, found)) {
        // Nothing further exists: the rest stays as written, so that a file
        // created here gets the name the user gave.
        append_piece(on_disk, std::string_view(written).substr(next));
        complete = false;
        break;
      }
      append_piece(on_disk, found);
      corrected_end = end;
      corrected_disk_end = on_disk.size();
    }
    next = end;
  }
  if (corrected_end > 0)
    remember(std::string_view(written).substr(0, corrected_end),
             std::string_view(on_disk).substr(0, corrected_disk_end));
  // The parent of a fully found path: its siblings, asked for next in a walk,
  // then cost one check each.
  if (complete) {
    std::size_t written_parent = written.rfind('/');
    std::size_t disk_parent = on_disk.rfind('/');
    if (written_parent >= root_length && disk_parent != std::string::npos) {
      remember(std::string_view(written).substr(0, written_parent),
               std::string_view(on_disk).substr(0, disk_parent));
    }
  }
  bool changed = on_disk != written;
  path.text = std::move(on_disk);
  return changed;
}
