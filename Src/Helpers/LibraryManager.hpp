// The two library folders the add-on needs among the host's loaded libraries: its own
// object library "VelmoraLib" beside the module, and "VELMORA Library", where the parts it
// generates go.
#ifndef VELMORA_HELPERS_LIBRARYMANAGER_HPP
#define VELMORA_HELPERS_LIBRARYMANAGER_HPP

#include "ACAPinc.h"

// Adds folder to the loaded libraries unless a loaded library has that location already
// (compared as places: "/a/./b" and "/a/b" are one folder).
// A failed add is reported ("Velmora GDL library could not be loaded", with an alert).
// Answers the host's code.
GSErrCode LoadAddOnLibrary(const IO::Location& folder);
// LoadAddOnLibrary with "VelmoraLib" in the add-on's own folder.
GSErrCode LoadVelmoraLibrary();

// Sets out to a new location of the generated-parts folder "VELMORA Library" (the caller
// deletes it), made when missing: inside the project's embedded library (inEmbedded), else
// in the user's library folder, which is then made a loaded library. Never answers 0
// without a location: an unreadable library list answers its code, a project without an
// embedded library APIERR_NOLIB, a folder that cannot be made (a file of that name, say)
// APIERR_GENERAL; out is then null.
GSErrCode GetEmbeddedLocation(IO::Location*& out, bool inEmbedded);

// The user's library folder (host special folder 6). The seam where the environment
// wrapper plugs in.
GSErrCode GetUserLibraryFolder(IO::Location& folder);

#endif
