// Resource strings from the add-on's resource file.
#ifndef VHOST_RS_HPP
#define VHOST_RS_HPP

#include "APIdefs_Base.h"

// Item `index` (1-based) of string list `resID`. Answers false (and clears the text) when
// the list or the item does not exist.
bool RSGetIndString(GS::UniString* text, GSResID resID, Int32 index, GSResModule resModule);
// The same as 8-bit UTF-8 text into a buffer of bufSize bytes (cut, always terminated).
bool RSGetIndString(char* buffer, Int32 bufSize, GSResID resID, Int32 index, GSResModule resModule);

#endif
