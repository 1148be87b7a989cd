// Utility functions of the host: printing on its command line, result buffers and their
// strings, and the wildcard matcher.
#pragma once

#include "arx/adesk.h"
#include "arx/adscodes.h"
#include "arx/adsdef.h"

// Prints on the host's command line with the runtime's wide printf rules; returns the number of
// characters printed.
int acutPrintf(const ACHAR* format, ...);

// A new result buffer of type `v` with a zeroed value and no next element, or nullptr when
// memory runs out. The caller owns it (and every chain it becomes part of) until it hands it
// to a call that takes it, and releases it with acutRelRb. A string or binary value is not
// allocated: the caller sets one made with acutNewString.
resbuf* acutNewRb(int v);

// Releases the whole chain starting at `rb`: every element and, for the type codes that hold
// one, its string or binary block. A null chain is fine. Returns RTNORM.
int acutRelRb(resbuf* rb);

// A copy of `pInput` made with the host's allocator, so that acutRelRb or acutDelString can
// release it; a null input gives a null copy. eOk, or eInvalidInput when memory runs out
// (`pOutput` is then null).
Acad::ErrorStatus acutNewString(const ACHAR* pInput, ACHAR*& pOutput);

// Releases a string made by acutNewString (or handed out by a host call) and nulls the
// pointer.
Acad::ErrorStatus acutDelString(ACHAR*& pString);

// Matches `string` against the host's wildcard `pattern`, case-sensitively:
//   *  any run of characters     ?  any one character      #  a digit       @  a letter
//   .  a character that is neither letter nor digit        `x  the character x itself
//   [abc] [a-z]  one character of the class                [~abc]  one character not in it
//   ~  at the start of the pattern, or of an alternative, matches what the rest does not
//   ,  separates alternatives: the string matches when it matches any of them
// RTNORM on a match; RTERROR otherwise, and for null arguments or text longer than the
// matcher takes.
int acutWcMatch(const ACHAR* string, const ACHAR* pattern);
