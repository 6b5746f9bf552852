// Keys from the console input queue. Only key presses count: releases, mouse,
// focus, menu and size events, and the modifier and lock keys pressed on their
// own, are dropped on the way.

#include "platform/platform.h"
#include "platform/win32/win32_base.h"

namespace {

constexpr char kReadFailed[] = "Lettura della tastiera non riuscita";

// The second value of the last key, waiting for the next con_read_key.
int g_second = -1;
// A key press that Windows reported once for several presses (the key held
// down): the presses not yet handed out.
KEY_EVENT_RECORD g_held;
WORD g_held_left = 0;

bool is_key_press(const INPUT_RECORD& record) {
  if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) return false;
  switch (record.Event.KeyEvent.wVirtualKeyCode) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return false;
    default:
      return true;
  }
}

// The first value of a key; a key that has two leaves the second in g_second.
int key_value(const KEY_EVENT_RECORD& key) {
  // Enter and Escape by their virtual keys: the numeric pad's Enter is an
  // enhanced key, and some consoles give Escape no character.
  if (key.wVirtualKeyCode == VK_RETURN) return 13;
  if (key.wVirtualKeyCode == VK_ESCAPE) return 27;
  const auto character = static_cast<unsigned char>(key.uChar.AsciiChar);
  // The right Alt is left out on purpose: with Ctrl it is AltGr, which types
  // ordinary characters on many keyboards.
  if (character == 0 || (key.dwControlKeyState & (ENHANCED_KEY | LEFT_ALT_PRESSED)) != 0) {
    g_second = key.wVirtualScanCode;
    return 0;
  }
  return character;
}

HANDLE keyboard() {
  const HANDLE in = console_input();
  if (in == INVALID_HANDLE_VALUE) strict_failure(kReadFailed);
  return in;
}

}  // namespace

int con_read_key() {
  if (g_second >= 0) {
    const int second = g_second;
    g_second = -1;
    return second;
  }
  if (g_held_left > 0) {
    --g_held_left;
    return key_value(g_held);
  }
  const HANDLE in = keyboard();
  for (;;) {
    INPUT_RECORD record;
    DWORD count = 0;
    if (!ReadConsoleInputA(in, &record, 1, &count)) strict_failure(kReadFailed);
    if (count == 1 && is_key_press(record)) {
      const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
      if (key.wRepeatCount > 1) {
        g_held = key;
        g_held_left = static_cast<WORD>(key.wRepeatCount - 1);
      }
      return key_value(key);
    }
  }
}

bool con_key_waiting() {
  if (g_second >= 0 || g_held_left > 0) return true;
  const HANDLE in = console_input();
  if (in == INVALID_HANDLE_VALUE) return false;
  for (;;) {
    INPUT_RECORD record;
    DWORD count = 0;
    if (!PeekConsoleInputA(in, &record, 1, &count) || count == 0) return false;
    if (is_key_press(record)) return true;
    ReadConsoleInputA(in, &record, 1, &count);  // not a key: dropped
  }
}
