#include "Folder.hpp"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "FileSystem.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace IO {

namespace {

bool IsDir(const std::string& path)
{
	struct stat st{};
	return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

Folder::Folder(const Location& loc, OnNotFound onNotFound) : loc_(loc)
{
	status_ = vhost::FaultFor("IO::Folder::Folder", vhost::PathOf(loc));
	if (status_ != NoError) return;
	if (IsDir(vhost::PathOf(loc))) return;
	if (onNotFound == Create && !loc.IsEmpty() && ::mkdir(vhost::PathOf(loc).c_str(), 0777) == 0) return;
	status_ = ErrFolderNotFound;
}

GSErrCode Folder::Enumerate(EnumCallback callback, void* userData) const
{
	if (status_ != NoError) return status_;
	if (const GSErrCode f = vhost::FaultFor("IO::Folder::Enumerate", vhost::PathOf(loc_))) return f;
	DIR* dir = ::opendir(vhost::PathOf(loc_).c_str());
	if (dir == nullptr) return ErrFolderNotFound;
	std::vector<std::pair<std::string, bool>> entries;
	while (dirent* e = ::readdir(dir)) {
		const std::string name = e->d_name;
		if (name == "." || name == "..") continue;
		struct stat st{};
		const std::string path = vhost::PathOf(loc_) + "/" + name;
		// lstat: a link is reported as a file, never followed as a folder.
		const bool isFolder = ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
		entries.emplace_back(name, isFolder);
	}
	::closedir(dir);
	std::sort(entries.begin(), entries.end());
	// A callback that throws is recorded as an exception crossing into the host; it stops.
	for (const auto& e : entries) {
		bool goOn = false;
		vhost::Guarded("enumerator callback", [&] {
			goOn = callback(*this, Name(GS::UniString(e.first)), e.second, userData);
			return GSErrCode(NoError);
		});
		if (!goOn) break;
	}
	return NoError;
}

GSErrCode Folder::CreateFolder(const Name& name, AccessDeniedTreatment /*adt*/)
{
	if (status_ != NoError) return status_;
	Location child = loc_;
	if (const GSErrCode err = child.AppendToLocal(name)) return err;
	if (const GSErrCode f = vhost::FaultFor("IO::Folder::CreateFolder", vhost::PathOf(child))) return f;
	if (::mkdir(vhost::PathOf(child).c_str(), 0777) == 0) return NoError;
	return errno == EEXIST ? ErrFolderExists : (errno == EACCES ? ErrAccessDenied : ErrCreation);
}

GSErrCode Folder::CreateFile(const Name& name)
{
	if (status_ != NoError) return status_;
	Location child = loc_;
	if (const GSErrCode err = child.AppendToLocal(name)) return err;
	File file(child, File::Create);
	return file.GetStatus();
}

GSErrCode Folder::Delete(const Name& name)
{
	if (status_ != NoError) return status_;
	Location child = loc_;
	if (const GSErrCode err = child.AppendToLocal(name)) return err;
	if (const GSErrCode f = vhost::FaultFor("IO::Folder::Delete", vhost::PathOf(child))) return f;
	return fileSystem.Delete(child);
}

bool Folder::Contains(const Name& name) const
{
	Location child = loc_;
	return status_ == NoError && child.AppendToLocal(name) == NoError && fileSystem.Exists(child);
}

namespace {

bool EnumerateForTree(const Folder& /*parent*/, const Name& name, bool isFolder, void* userData)
{
	auto* tree = static_cast<TreeEnumerator*>(userData);
	return (isFolder ? tree->FolderFound(name) : tree->FileFound(name)) == 0;
}

} // namespace

GSErrCode TreeEnumerator::Do()
{
	if (const GSErrCode f = vhost::FaultFor("IO::TreeEnumerator::Do", vhost::PathOf(folder_.GetLocation()))) return f;
	return folder_.Enumerate(EnumerateForTree, this);
}

} // namespace IO
