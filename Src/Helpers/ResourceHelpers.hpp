// Localized texts from the add-on's own resources, and 8-bit text for parameter records.
#ifndef VELMORA_RESOURCEHELPERS_HPP
#define VELMORA_RESOURCEHELPERS_HPP

#include "ACAPinc.h"

// Item `index` (1-based) of string list `listId`; empty when the resources have no such item.
GS::UniString GetResUniString(short listId, short index);
// The same item as 8-bit text (host default code) in a new buffer of 512 bytes that the
// caller frees with delete[]; null when there is no such item.
char* GetResString(short listId, short index);

// Converts 8-bit text (host default code) into the caller's buffer of at least 256 UTF-16
// units. A text of 255 bytes or more is cut to its first 255 (at a character boundary), so
// the result always fits with its terminator; unit 255 is always 0. length receives the
// units written, terminator included.
void ConvertUnicode(const char* text, GS::UniChar* buffer, int& length);

#endif
