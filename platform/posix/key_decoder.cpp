#include "platform/posix/key_decoder.h"

namespace {

using Kind = KeyDecode::Kind;

constexpr unsigned char kEscape = 0x1B;
constexpr int kEscapeCode = 27;
// A sequence this long without its final byte is noise, not a key.
constexpr std::size_t kLongestSequence = 32;

KeyDecode key(std::size_t length, int code, int scan = 0) {
  KeyDecode result;
  result.kind = Kind::kKey;
  result.length = static_cast<int>(length);
  result.code = code;
  result.scan = scan;
  return result;
}

KeyDecode need_more() {
  return KeyDecode();
}

KeyDecode dropped(std::size_t length) {
  KeyDecode result;
  result.kind = Kind::kDropped;
  result.length = static_cast<int>(length);
  return result;
}

unsigned char byte_at(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

// The PC scan code of the key that types c, for Alt combinations.
int alt_scan(unsigned char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  static constexpr std::string_view kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static constexpr int kRowStart[] = {16, 30, 44};
  for (int row = 0; row < 3; ++row) {
    std::size_t at = kRows[row].find(static_cast<char>(c));
    if (at != std::string_view::npos) return kRowStart[row] + static_cast<int>(at);
  }
  if (c >= '1' && c <= '9') return 120 + (c - '1');
  if (c == '0') return 129;
  if (c == '-') return 130;
  if (c == '=') return 131;
  return 0;
}

// Keys of the form ESC [ n ~.
int tilde_scan(int n) {
  switch (n) {
    case 1:
    case 7:
      return 71;  // Home
    case 2:
      return 82;  // Ins
    case 3:
      return 83;  // Del
    case 4:
    case 8:
      return 79;  // End
    case 5:
      return 73;  // PgUp
    case 6:
      return 81;  // PgDn
    case 23:
      return 133;  // F11
    case 24:
      return 134;  // F12
    default:
      break;
  }
  if (n >= 11 && n <= 15) return 59 + (n - 11);  // F1-F5
  if (n >= 17 && n <= 21) return 64 + (n - 17);  // F6-F10
  return 0;
}

// Keys told by the final letter of ESC [ ... or ESC O.
int final_scan(unsigned char final) {
  switch (final) {
    case 'A':
      return 72;  // Up
    case 'B':
      return 80;  // Down
    case 'C':
      return 77;  // Right
    case 'D':
      return 75;  // Left
    case 'E':
      return 76;  // the middle of the keypad
    case 'H':
      return 71;  // Home
    case 'F':
      return 79;  // End
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return 59 + (final - 'P');  // F1-F4
    case 'Z':
      return 15;  // Shift+Tab
    default:
      return 0;
  }
}

// Reads a decimal number at bytes[i]; false when there is no digit there.
bool read_number(std::string_view bytes, std::size_t& i, int& value) {
  std::size_t start = i;
  value = 0;
  while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && value < 100000) {
    value = value * 10 + (bytes[i] - '0');
    ++i;
  }
  return i > start;
}

bool is_cursor_report(std::string_view parameters, int& row, int& column) {
  std::size_t i = 0;
  if (!read_number(parameters, i, row) || i >= parameters.size() || parameters[i] != ';') {
    return false;
  }
  ++i;
  return read_number(parameters, i, column) && i == parameters.size();
}

// ESC [ parameters intermediates final.
KeyDecode decode_csi(std::string_view bytes, bool complete) {
  if (bytes.size() == 2) return complete ? key(2, 0, alt_scan('[')) : need_more();
  if (bytes[2] == '[') {  // the Linux console's F1-F5: ESC [ [ A ... E
    if (bytes.size() == 3) return complete ? dropped(3) : need_more();
    unsigned char letter = byte_at(bytes, 3);
    return letter >= 'A' && letter <= 'E' ? key(4, 0, 59 + (letter - 'A')) : key(4, 0, 0);
  }
  std::size_t i = 2;
  while (i < bytes.size() && byte_at(bytes, i) >= 0x30 && byte_at(bytes, i) <= 0x3F) ++i;
  while (i < bytes.size() && byte_at(bytes, i) >= 0x20 && byte_at(bytes, i) <= 0x2F) ++i;
  if (i == bytes.size()) return complete || i >= kLongestSequence ? dropped(i) : need_more();
  unsigned char final = byte_at(bytes, i);
  if (final < 0x40 || final > 0x7E) return dropped(i);  // broken off by another key
  std::string_view parameters = bytes.substr(2, i - 2);
  int row = 0;
  int column = 0;
  if (final == 'R' && is_cursor_report(parameters, row, column)) {
    KeyDecode report;
    report.kind = Kind::kCursorReport;
    report.length = static_cast<int>(i + 1);
    report.row = row;
    report.column = column;
    return report;
  }
  if (final == '~') {
    std::size_t at = 0;
    int number = 0;
    read_number(parameters, at, number);
    return key(i + 1, 0, tilde_scan(number));
  }
  return key(i + 1, 0, final_scan(final));
}

// ESC O final: the cursor and F1-F4 keys in the terminal's application mode.
KeyDecode decode_ss3(std::string_view bytes, bool complete) {
  if (bytes.size() == 2) return complete ? key(2, 0, alt_scan('O')) : need_more();
  unsigned char final = byte_at(bytes, 2);
  if (final == 'M') return key(3, 13);  // Enter on the keypad
  return key(3, 0, final_scan(final));
}

// A character of several UTF-8 bytes is one key: its code point where that
// fits a byte, "?" otherwise.
KeyDecode decode_utf8(std::string_view bytes, bool complete) {
  unsigned char lead = byte_at(bytes, 0);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  int code_point = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < length; ++i) {
    if (i == bytes.size()) return complete ? key(1, lead) : need_more();
    unsigned char next = byte_at(bytes, i);
    if ((next & 0xC0) != 0x80) return key(1, lead);  // not UTF-8 after all
    code_point = code_point << 6 | (next & 0x3F);
  }
  return key(length, code_point < 256 ? code_point : '?');
}

}  // namespace

KeyDecode decode_key(std::string_view bytes, bool complete) {
  if (bytes.empty()) return need_more();
  unsigned char first = byte_at(bytes, 0);
  if (first != kEscape) {
    if (first == 0x7F) return key(1, 8);     // Backspace
    if (first == 0x00) return key(1, 0, 3);  // Ctrl+Space
    if (first >= 0xC2 && first <= 0xF4) return decode_utf8(bytes, complete);
    return key(1, first);
  }
  if (bytes.size() == 1) return complete ? key(1, kEscapeCode) : need_more();
  unsigned char second = byte_at(bytes, 1);
  if (second == '[') return decode_csi(bytes, complete);
  if (second == 'O') return decode_ss3(bytes, complete);
  // Escape followed by a printable character is that character with Alt;
  // followed by anything else, the Escape key alone.
  if (second >= 0x20 && second < 0x7F) return key(2, 0, alt_scan(second));
  return key(1, kEscapeCode);
}
