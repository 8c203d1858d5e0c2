// Hexadecimal text of 8-bit bytes, as the settings file keeps the import folder.
#ifndef VELMORA_STRCONVERT_HPP
#define VELMORA_STRCONVERT_HPP

// Writes two upper-case hex digits per byte of `src` (up to its zero byte) and a zero byte.
// `dst` must hold twice the length of `src` plus one.
void utf8_to_base16(const char* src, char* dst);

// Writes one byte per pair of hex digits of `src` and a zero byte. Decoding stops at the
// first character that is not a hex digit (either case) and at an odd last digit.
// `dst` must hold half the length of `src` plus one.
void base16_to_utf8(const char* src, char* dst);

#endif
