#include "platform/posix/drive_map.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/platform.h"

namespace {

constexpr int kDrives = 26;

bool loaded = false;
std::string roots[kDrives];  // empty: the letter names no drive
Str255 remembered[kDrives];  // directories of the drives that are not current
char selected = 'Z';

int index_of(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter >= 'A' && letter <= 'Z' ? letter - 'A' : -1;
}

void ensure_loaded() {
  if (!loaded) drive_map_load();
}

bool is_separator(char c) {
  return c == '\\' || c == '/';
}

bool under_root(std::string_view path, std::string_view root) {
  if (root == "/") return path.starts_with('/');
  return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

bool dos_piece_valid(std::string_view piece, bool wildcards) {
  for (char c : piece) {
    auto code = static_cast<unsigned char>(c);
    if (code < 32) return false;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
        return false;
      case '*':
      case '?':
        if (!wildcards) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

namespace {

void push_piece(UnixPath& path, std::string_view piece) {
  if (!path.at_root || path.text.size() > 1) path.text += '/';
  path.text += piece;
  path.at_root = false;
}

void pop_piece(UnixPath& path) {
  if (path.at_root) return;
  std::size_t root_length = path.pieces_start > 1 ? path.pieces_start - 1 : 1;
  std::size_t cut = path.text.rfind('/');
  path.text.resize(cut > root_length ? cut : root_length);
  path.at_root = path.text.size() <= root_length;
}

// Adds the pieces of a DOS path after its drive part. validate is false for
// the drive's own current directory, which comes from the file system.
bool append_pieces(UnixPath& path, std::string_view dos, bool validate, bool wildcards_in_last) {
  while (!dos.empty()) {
    std::size_t end = 0;
    while (end < dos.size() && !is_separator(dos[end])) ++end;
    std::string_view piece = dos.substr(0, end);
    bool last = end == dos.size();
    dos.remove_prefix(last ? end : end + 1);
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      pop_piece(path);
      continue;
    }
    if (validate && !dos_piece_valid(piece, wildcards_in_last && last)) return false;
    push_piece(path, piece);
  }
  return true;
}

}  // namespace

void drive_map_load() {
  loaded = true;
  selected = 'Z';
  for (int i = 0; i < kDrives; ++i) {
    char letter = static_cast<char>('A' + i);
    roots[i].clear();
    remembered[i] = Str255(std::string{letter, ':', '\\'});
    if (letter == 'Z') {
      roots[i] = "/";
      continue;
    }
    const char* value = std::getenv((std::string("VESK_DRIVE_") + letter).c_str());
    char real[PATH_MAX];
    struct stat info;
    if (value == nullptr || *value == '\0' || realpath(value, real) == nullptr) continue;
    if (stat(real, &info) == 0 && S_ISDIR(info.st_mode)) roots[i] = real;
  }
}

std::string_view drive_root(char letter) {
  ensure_loaded();
  int i = index_of(letter);
  return i < 0 ? std::string_view() : std::string_view(roots[i]);
}

char current_drive() {
  ensure_loaded();
  if (selected == 'Z') return 'Z';
  // Someone may have moved the working directory off the drive behind our
  // back; the working directory always wins.
  return under_root(working_directory(), roots[selected - 'A']) ? selected : 'Z';
}

Str255 drive_directory(char letter) {
  ensure_loaded();
  int i = index_of(letter);
  if (i < 0) return Str255();
  char upper = static_cast<char>('A' + i);
  if (roots[i].empty()) return Str255(std::string{upper, ':', '\\'});
  if (upper == current_drive()) return dos_of_unix(upper, working_directory());
  return remembered[i];
}

void drive_select(char letter) {
  ensure_loaded();
  int i = index_of(letter);
  if (i >= 0 && !roots[i].empty()) selected = static_cast<char>('A' + i);
}

void drive_remember(char letter, const Str255& directory) {
  ensure_loaded();
  int i = index_of(letter);
  if (i >= 0 && !roots[i].empty()) remembered[i] = directory;
}

std::string working_directory() {
  std::string path(256, '\0');
  for (;;) {
    if (getcwd(path.data(), path.size()) != nullptr) {
      path.resize(path.find('\0'));
      return path;
    }
    if (errno != ERANGE) break;
    path.resize(path.size() * 2);
  }
  // A working directory that has been removed keeps the name it had, as it
  // does for a Windows program: lookups there find nothing. The root would
  // be a directory the user never asked about.
  std::string lost(PATH_MAX, '\0');
  ssize_t length = readlink("/proc/self/cwd", lost.data(), lost.size());
  if (length <= 0 || lost[0] != '/') return "/";
  lost.resize(static_cast<std::size_t>(length));
  constexpr std::string_view kRemoved = " (deleted)";
  if (lost.ends_with(kRemoved)) lost.resize(lost.size() - kRemoved.size());
  return lost;
}

Str255 dos_of_unix(char drive, std::string_view unix_path) {
  std::string_view root = drive_root(drive);
  std::string_view rest = unix_path.substr(root.size() <= unix_path.size() ? root.size() : 0);
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  std::string dos{drive, ':', '\\'};
  for (char c : rest) dos += c == '/' ? '\\' : c;
  return Str255(dos);
}

bool map_dos_path(std::string_view dos, bool wildcards_in_last, UnixPath& out, int& error) {
  ensure_loaded();
  bool has_drive = dos.size() >= 2 && dos[1] == ':' && index_of(dos[0]) >= 0;
  char letter = has_drive ? static_cast<char>('A' + index_of(dos[0])) : current_drive();
  std::string_view rest = has_drive ? dos.substr(2) : dos;
  std::string_view root = drive_root(letter);
  error = kErrPathNotFound;
  if (root.empty()) return false;
  // "\\server\share" names a network share, which no drive here offers.
  if (!has_drive && rest.size() >= 2 && is_separator(rest[0]) && is_separator(rest[1]))
    return false;
  out.text.assign(root);
  out.pieces_start = root == "/" ? 1 : root.size() + 1;
  out.drive = letter;
  out.at_root = true;
  out.trailing_separator = !rest.empty() && is_separator(rest.back());
  if (rest.empty() || !is_separator(rest.front())) {
    // A relative path starts at the drive's current directory; for the
    // current drive that is the working directory itself, whole even when
    // its DOS form would not fit in 255 characters.
    if (letter == current_drive()) {
      std::string cwd = working_directory();
      append_pieces(out, std::string_view(cwd).substr(std::min(root.size(), cwd.size())), false,
                    false);
    } else {
      append_pieces(out, drive_directory(letter).view().substr(3), false, false);
    }
  }
  error = kErrInvalidName;
  if (!append_pieces(out, rest, true, wildcards_in_last)) return false;
  error = 0;
  return true;
}
