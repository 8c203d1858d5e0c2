// The system's standard folders.
#ifndef KIVEL_FOLDERMANAGER_HPP
#define KIVEL_FOLDERMANAGER_HPP

namespace fm {

// Directory and domain codes of the system's folder lookup.
constexpr unsigned long ApplicationDirectory = 1;
constexpr unsigned long LocalDomainMask = 2;

class FolderManager {
public:
	// The path of the standard folder, or null when the system names none. The text is a
	// constant that lives as long as the process.
	const char* pathForDirectory(unsigned long directory, unsigned long domainMask);
	// The same folder for an item at path (the item's volume is not looked at here); null
	// when there is none. create is not used: nothing is created.
	const char* pathForDirectoryAppropriateForItemAtPath(unsigned long directory, unsigned long domainMask, const char* path,
		bool create);
};

} // namespace fm

#endif
