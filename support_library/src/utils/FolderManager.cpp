#include "utils/FolderManager.hpp"

namespace fm {

namespace {

struct StandardFolder {
	unsigned long directory;
	unsigned long domainMask;
	const char* path;
};

// The system's standard folders that the add-on asks for.
#if defined(__APPLE__)
constexpr StandardFolder kFolders[] = {{ApplicationDirectory, LocalDomainMask, "/Applications"}};
#else
constexpr StandardFolder kFolders[] = {{ApplicationDirectory, LocalDomainMask, "/opt"}};
#endif

} // namespace

const char* FolderManager::pathForDirectory(unsigned long directory, unsigned long domainMask)
{
	for (const StandardFolder& f : kFolders)
		if (f.directory == directory && (f.domainMask & domainMask) != 0) return f.path;
	return nullptr;
}

const char* FolderManager::pathForDirectoryAppropriateForItemAtPath(unsigned long directory, unsigned long domainMask,
	const char* path, bool /*create*/)
{
	if (path == nullptr) return nullptr;
	return pathForDirectory(directory, domainMask);
}

} // namespace fm
