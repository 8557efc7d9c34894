// Base64 of 8-bit text, for the Basic proxy authorization.
#pragma once

#include <stddef.h>

// The character of a 6-bit value: A..Z, a..z, 0..9, + and /; '=' for any
// value outside 0..63.
char Base64Char(int nValue);

// Base64 of the NUL-terminated input without '=' padding, NUL-terminated.
// out must hold Base64Length(strlen(in)) + 1 bytes.
void Base64Encode(char* out, const char* in);

// Base64 as RFC 4648 writes it: padded with '=' to a multiple of four.
// out must hold Base64PaddedLength(strlen(in)) + 1 bytes.
void Base64EncodePadded(char* out, const char* in);

// Characters written by the two encoders for nLength input bytes, without
// the NUL.
size_t Base64Length(size_t nLength);
size_t Base64PaddedLength(size_t nLength);
