// GUIDs from text. A text that is not a GUID is reported once with the alert flag.
#ifndef KIVEL_GUIDUTILS_HPP
#define KIVEL_GUIDUTILS_HPP

#include "ACAPinc.h"

namespace kivel::GuidUtils {

// guid becomes the GUID of text (the 36-character form, also in braces). On failure it stays
// all zero, the failure is reported, and the conversion's error code is returned.
GSErrCode ToGuid(const char* text, API_Guid& guid);
// The same; all zero on failure.
API_Guid ToGuid(const char* text);
// The main GUID of a library-part unique id ("{main}-{revision}": its first 38 characters).
API_Guid UnIdToGuid(const char* unID);

} // namespace kivel::GuidUtils

#endif
