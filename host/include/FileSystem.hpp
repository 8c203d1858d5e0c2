// IO::FileSystem: special locations and whole-file operations; IO::Init / IO::End.
#ifndef VHOST_FILESYSTEM_HPP
#define VHOST_FILESYSTEM_HPP

#include "Folder.hpp"
#include "Location.hpp"

namespace IO {

class FileSystem {
public:
	// Special locations; the host keeps them all under its run root.
	enum SpecialFolderID {
		UserDocuments = 0,
		Temporary = 1,
		ApplicationFile = 2,   // the add-on module itself
		CurrentFolder = 3,
		ApplicationFolder = 4, // the folder of the add-on module
		CommonDocuments = 9,
		DefaultImportRoot = 13
	};

	GSErrCode GetSpecialLocation(SpecialFolderID id, Location* loc) const;
	GSErrCode CreateFolder(const Location& loc) const;
	// Renames; the target must not exist.
	GSErrCode Move(const Location& from, const Location& to) const;
	GSErrCode Copy(const Location& from, const Location& to) const;
	// Deletes a file, or a folder with what it holds.
	GSErrCode Delete(const Location& loc) const;
	bool Exists(const Location& loc) const;
	bool IsFolder(const Location& loc) const;
};

extern FileSystem fileSystem;

// Opening and closing the host's input/output layer; calls nest.
GSErrCode Init();
// The same, with the host's start-up options (multi-threaded use, log file, log level); the
// options are accepted and not modelled.
GSErrCode Init(bool multiThreaded, const GS::UniString& logFile, Int32 logLevel);
GSErrCode End();

} // namespace IO

#endif
