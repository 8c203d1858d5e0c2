#include "Helpers/LibraryManager.hpp"

// Host special folder 6 comes through the environment wrapper, which is built apart from
// this unit; until it is wired in here the user's library folder is not available.
GSErrCode GetUserLibraryFolder(IO::Location& /*folder*/)
{
	return APIERR_NOTSUPPORTED;
}
