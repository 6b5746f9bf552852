#ifndef VESK_ZAZAZ32_TOKENS_H_
#define VESK_ZAZAZ32_TOKENS_H_

// Small string functions: cutting a token off a string at separator
// characters, and the helpers the name checks and the option reader use.
// Positions are 1-based, 0 means none. Every function works on copies of its
// arguments, so an output may be the same variable as an input.

#include "zazaz32/str255.h"

// Splits the first token off source at any character of separators.
// - source shorter than 2 characters, no separators, or no separator in
//   source: head is source, tail is empty;
// - otherwise, when source does not start with a separator: head is
//   everything before the first separator, tail the rest from it on;
// - when source starts with a separator: head runs from that separator up to
//   (not including) the next one, tail is the rest from it on; without a
//   second separator head is source and tail is empty.
// So "/S/H" gives "/S" and "/H", "//S" gives "/" and "/S", "A/" "A" and "/".
void TESTA_CODA(const Str255& source, const Str255& separators, Str255& head, Str255& tail);

// s with every repeated character dropped: each keeps its first occurrence,
// in the order of s ("/ /" gives "/ ").
Str255 SINGLE(const Str255& s);

// s with count characters removed from position index, count cut at the end
// of s; s unchanged when index < 1, index > length or count < 1.
Str255 FDELETE(const Str255& s, int index, int count);

// Start of the rightmost occurrence of sub within the first n characters of
// s; 0 when there is none, when sub is empty or longer than that part.
int POSRL(const Str255& sub, const Str255& s, int n);

// True for a to z and A to Z only.
bool LETTERS(char c);

// s without every character that occurs in chars.
Str255 FREECHAR(const Str255& chars, const Str255& s);

#endif  // VESK_ZAZAZ32_TOKENS_H_
