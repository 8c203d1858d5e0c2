#include "Helpers/LibraryManager.hpp"
#include "generic/Environment.hpp"

GSErrCode GetUserLibraryFolder(IO::Location& folder)
{
	API_SpecFolderID id = API_UserLibraryFolderID;
	return kivel::Environment::GetSpecialFolder(&id, &folder);
}
