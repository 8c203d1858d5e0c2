// IO::Folder and IO::TreeEnumerator: folders on the real file system.
#ifndef VHOST_FOLDER_HPP
#define VHOST_FOLDER_HPP

#include "File.hpp"
#include "Location.hpp"

namespace IO {

class Folder {
public:
	enum OnNotFound { Ignore = 0, Create = 1 };
	// Called once per entry; answer true to go on. "." and ".." are never listed.
	using EnumCallback = bool (*)(const Folder& parent, const Name& entryName, bool isFolder, void* userData);

	explicit Folder(const Location& loc, OnNotFound onNotFound = Ignore);
	// 0 when a folder exists at the location; ErrFolderNotFound otherwise.
	GSErrCode GetStatus() const { return status_; }
	GSErrCode GetLocation(Location* loc) const { *loc = loc_; return NoError; }
	const Location& GetLocation() const { return loc_; }

	// Entries in name order (so runs are repeatable). Links are reported as files. A callback
	// that throws is recorded in the project's exceptions and ends the walk.
	GSErrCode Enumerate(EnumCallback callback, void* userData) const;
	GSErrCode CreateFolder(const Name& name, AccessDeniedTreatment adt = AccessDeniedIsError);
	GSErrCode CreateFile(const Name& name);
	// Deletes a file or (recursively) a folder inside this one.
	GSErrCode Delete(const Name& name);
	bool Contains(const Name& name) const;

private:
	Location loc_;
	GSErrCode status_ = NoError;
};

// Walks one folder's direct entries through the virtual calls; each answers 0 to go on.
class TreeEnumerator {
public:
	explicit TreeEnumerator(const Folder& folder) : folder_(folder) {}
	virtual ~TreeEnumerator() = default;
	virtual int FileFound(const Name& name) = 0;
	virtual int FolderFound(const Name& name) = 0;
	GSErrCode Do();

private:
	const Folder& folder_;
};

} // namespace IO

#endif
