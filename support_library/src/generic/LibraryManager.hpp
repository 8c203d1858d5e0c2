// The host's loaded libraries and library-part search. Every call answers the host's error
// code unchanged (0 for success) and reports nothing.
#ifndef KIVEL_LIBRARYMANAGER_HPP
#define KIVEL_LIBRARYMANAGER_HPP

#include "ACAPinc.h"

namespace kivel {
namespace LibraryManager {

// Searches the loaded libraries for the part the record describes (its own unique id, else
// its name); the two flags go to the host unchanged. Unless keepLocation is set, the part
// location the record holds afterwards is deleted and the pointer nulled, whatever the
// search answered; with keepLocation the caller owns it.
GSErrCode Search(API_LibPart& part, bool createIfMissing, bool onlyPlaceable, bool keepLocation);
// Clears the record, puts unID (host default 8-bit code) into its own unique id and
// searches. An id that does not fit the field is APIERR_BADNAME, with the record untouched
// and no search.
GSErrCode SearchByGuid(API_LibPart& part, const GS::UniString& unID, bool createIfMissing, bool onlyPlaceable, bool keepLocation);
// Clears the record, puts name into its name and searches. A name that does not fit the
// field (255 UTF-16 units and the terminator) is APIERR_BADNAME, as for SearchByGuid.
GSErrCode SearchByLibraryPartName(API_LibPart& part, const GS::UniString& name, bool createIfMissing, bool onlyPlaceable, bool keepLocation);
// The same as SearchByLibraryPartName: the host finds parts by name.
GSErrCode SearchByFileName(API_LibPart& part, const GS::UniString& name, bool createIfMissing, bool onlyPlaceable, bool keepLocation);
// The part of part.index. On failure the location pointer is left as the host left it; on
// success the location rule of Search applies.
GSErrCode GetLibraryPart(API_LibPart& part, bool keepLocation);
// The number of library parts the host knows.
GSErrCode GetLibrariesNumber(int& count);
// The loaded library list; the second form also gives the embedded library's position.
GSErrCode GetLibraries(GS::Array<API_LibraryInfo>& libraries);
GSErrCode GetLibraries(GS::Array<API_LibraryInfo>& libraries, int& embeddedIndex);
// Replaces the loaded library list.
GSErrCode SetLibraries(GS::Array<API_LibraryInfo>& libraries);
// Adds one library folder.
GSErrCode AddLibrary(const IO::Location& folder);

} // namespace LibraryManager
} // namespace kivel

#endif
