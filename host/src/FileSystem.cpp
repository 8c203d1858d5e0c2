#include "FileSystem.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace IO {

FileSystem fileSystem;

namespace fs = std::filesystem;

GSErrCode FileSystem::GetSpecialLocation(SpecialFolderID id, Location* loc) const
{
	if (loc == nullptr) return ErrParam;
	if (const GSErrCode f = vhost::FaultFor("IO::FileSystem::GetSpecialLocation", std::to_string(id))) return f;
	const vhost::Project& p = vhost::Current();
	std::string path;
	switch (id) {
		case UserDocuments: path = vhost::DocumentsFolder(); break;
		case Temporary: path = vhost::TempFolder(); break;
		case ApplicationFile: path = p.addonFile; break;
		case CurrentFolder: path = p.runRoot; break;
		case ApplicationFolder: path = p.addonFolder; break;
		case CommonDocuments: path = vhost::CommonDocumentsFolder(); break;
		case DefaultImportRoot: path = vhost::DocumentsFolder(); break;
		default: return ErrParam;
	}
	if (path.empty()) return ErrFolderNotFound;
	*loc = Location(path.c_str());
	return NoError;
}

GSErrCode FileSystem::CreateFolder(const Location& loc) const
{
	if (const GSErrCode f = vhost::FaultFor("IO::FileSystem::CreateFolder", vhost::PathOf(loc))) return f;
	if (loc.IsEmpty()) return ErrLocation;
	if (::mkdir(vhost::PathOf(loc).c_str(), 0777) == 0) return NoError;
	return errno == EEXIST ? ErrFolderExists : ErrCreation;
}

GSErrCode FileSystem::Move(const Location& from, const Location& to) const
{
	if (const GSErrCode f = vhost::FaultFor("IO::FileSystem::Move", vhost::PathOf(from))) return f;
	if (Exists(to)) return ErrTargetExists;
	if (!Exists(from)) return ErrFileNotFound;
	return std::rename(vhost::PathOf(from).c_str(), vhost::PathOf(to).c_str()) == 0 ? NoError : ErrFileSystem;
}

GSErrCode FileSystem::Copy(const Location& from, const Location& to) const
{
	if (const GSErrCode f = vhost::FaultFor("IO::FileSystem::Copy", vhost::PathOf(from))) return f;
	if (Exists(to)) return ErrTargetExists;
	std::error_code ec;
	fs::copy(fs::u8path(vhost::PathOf(from)), fs::u8path(vhost::PathOf(to)), fs::copy_options::recursive, ec);
	return ec ? (Exists(from) ? ErrFileSystem : ErrFileNotFound) : NoError;
}

GSErrCode FileSystem::Delete(const Location& loc) const
{
	if (const GSErrCode f = vhost::FaultFor("IO::FileSystem::Delete", vhost::PathOf(loc))) return f;
	if (!Exists(loc)) return ErrFileNotFound;
	std::error_code ec;
	fs::remove_all(fs::u8path(vhost::PathOf(loc)), ec);
	return ec ? ErrFileSystem : NoError;
}

bool FileSystem::Exists(const Location& loc) const
{
	struct stat st{};
	return !loc.IsEmpty() && ::lstat(vhost::PathOf(loc).c_str(), &st) == 0;
}

bool FileSystem::IsFolder(const Location& loc) const
{
	struct stat st{};
	return !loc.IsEmpty() && ::stat(vhost::PathOf(loc).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

GSErrCode Init()
{
	if (const GSErrCode f = vhost::FaultFor("IO::Init")) return f;
	++vhost::Current().ioInitDepth;
	return NoError;
}

GSErrCode End()
{
	if (const GSErrCode f = vhost::FaultFor("IO::End")) return f;
	vhost::Project& p = vhost::Current();
	if (p.ioInitDepth <= 0) return ErrNotInitialized;
	--p.ioInitDepth;
	return NoError;
}

} // namespace IO
