#include "scan/subdir.h"

#include <algorithm>
#include <cstring>

#include "driver/errors.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "scan/findfiles.h"
#include "scan/temp_file.h"
#include "zazaz32/path.h"
#include "zazaz32/tokens.h"

namespace {

constexpr int kRecordSize = 256;
constexpr int kEscape = 27;
// How many numbered names are tried when the list file's name is taken at
// the moment it is created (another run, or a file made since start).
constexpr int kCreateTries = 1000;

RecordFile LISTA;  // the list file while SUBDIR builds it

// Any key waiting is read; true when it was Escape. Other keys are dropped.
bool escape_pressed() {
  if (!con_key_waiting()) return false;
  int k = con_read_key();
  if (k == 0) con_read_key();  // the second value of a key without a character
  return k == kEscape;
}

// A path that is not empty and does not end in ":" or "\" gets a "\".
Str255 parent_path(Str255 path) {
  if (!path.empty() && path.last() != ':' && path.last() != '\\') path += '\\';
  return path;
}

// The longest name pattern a listed directory's path is joined with later:
// "*.*" to list it, the target's own pattern to tally it, each after a "\".
int room_for_pattern() {
  return 1 + std::max(3, NAMEOF(NOMEFILE).length());
}

void long_path_notice(const Str255& parent, const Str255& name) {
  if (con_column() != 1) con_put_line("");
  con_put("Percorso troppo lungo, non esaminato: ");
  con_put(parent);
  con_put_line(name);
}

// Writes the record of parent + name at the current position; false when the
// write failed. A path that would not fit is reported and skipped.
bool write_record(const Str255& parent, const Str255& name) {
  if (parent.length() + name.length() > Str255::kMax - room_for_pattern()) {
    long_path_notice(parent, name);
    return true;
  }
  unsigned char record[kRecordSize] = {};
  Str255 path = parent + name;
  record[0] = 255;
  std::memcpy(record + 1, path.data(), path.length());
  records_write(LISTA, record);
  return io_status() == 0;
}

bool is_subdirectory(const DirEntry& e) {
  if ((e.attr & kAttrDirectory) == 0) return false;
  if ((e.attr & kAttrReparse) != 0) return false;  // a link: never followed
  return !(e.name == ".") && !(e.name == "..");
}

// Appends a record for every subdirectory of parent; false on a write failure.
bool list_children(const Str255& parent, bool at_end) {
  DirEntry e;
  for (bool more = scan_dirs_first(parent + "*.*", e); more; more = scan_dirs_next(e)) {
    if (!is_subdirectory(e)) continue;
    if (at_end) records_seek(LISTA, records_count(LISTA));
    if (!write_record(parent, e.name)) return false;
  }
  return true;
}

// Creates the list file exclusively: a name taken by anything, even a link
// or a directory, is never opened; the next numbered name is tried instead.
bool create_list_file() {
  Str255 dir = PATHOF(TMPFILES);
  Str255 name = NAMEOF(TMPFILES);
  Str255 path = TMPFILES;
  for (int n = 0; n <= kCreateTries && !path.empty(); ++n) {
    records_create_new(LISTA, path, kRecordSize);
    int status = io_status();
    if (status == 0) {
      TMPFILES = path;
      TMPFILES_OURS = true;
      remove_on_abort(path);
      return true;
    }
    if (status != kErrFileExists) return false;
    path = TMP_CANDIDATE(dir, name, n);
  }
  return false;
}

Str255 record_path(const unsigned char* record) {
  return FREECHAR(Str255('\0'), Str255(std::string_view(reinterpret_cast<const char*>(record) + 1,
                                                        Str255::kMax)));
}

}  // namespace

int SUBDIR(const Str255& start_path) {
  if (!create_list_file()) return kWalkFileError;
  Str255 start = parent_path(start_path);
  std::int64_t read_index = 0;
  if (!list_children(start, false)) return kWalkFileError;
  unsigned char record[kRecordSize];
  for (;;) {
    if (escape_pressed()) return kWalkEscape;
    records_seek(LISTA, read_index);
    if (io_status() != 0) return kWalkFileError;
    if (records_at_end(LISTA)) {
      records_close(LISTA);
      return io_status() == 0 ? kWalkDone : kWalkFileError;
    }
    ++read_index;
    records_read(LISTA, record);
    if (io_status() != 0) return kWalkFileError;
    if (!list_children(parent_path(record_path(record)), true)) return kWalkFileError;
  }
}

void SCAN_TREE() {
  if (OUTFILE.empty()) con_put("Creazione del file temporaneo in corso ... ");
  int r = SUBDIR(PATHOF(NOMEFILE));
  if (r == kWalkFileError) ERR(kErrListFile);
  if (r == kWalkEscape) ERR(kErrUserBreak);
  if (OUTFILE.empty()) con_put_line("fatto.\r\n");
  FINDFILES(PATH + NOMEFILE);
  write_attributes(TMPFILES, kAttrArchive);
  records_open(NF, TMPFILES, kRecordSize);
  if (io_status() != 0) ERR(kErrListFile);
  NOMEFILE = NAMEOF(NOMEFILE);
  unsigned char record[kRecordSize];
  while (!records_at_end(NF)) {
    records_read(NF, record);
    if (io_status() != 0) ERR(kErrListFile);
    if (escape_pressed()) ERR(kErrUserBreak);
    PATH = record_path(record);
    if (PATH.last() != ':') PATH += '\\';
    FINDFILES(PATH + NOMEFILE);
  }
  discard_list_file();
}

void discard_list_file() {
  if (LISTA.handle != -1) records_close(LISTA);
  if (NF.handle != -1) records_close(NF);
  io_status();
  if (TMPFILES_OURS) {
    remove_file(TMPFILES);
    TMPFILES_OURS = false;
    remove_on_abort("");
  }
}
