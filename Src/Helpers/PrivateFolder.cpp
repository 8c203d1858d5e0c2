#include "Helpers/PrivateFolder.hpp"

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <stdio.h> // renamex_np
#else
#include <fcntl.h> // AT_FDCWD
#include <stdio.h> // renameat2
#endif
#endif

namespace PrivateFolder {

namespace {

// Names tried for the folder before giving up.
constexpr int kNameTries = 16;

std::function<void()>& BeforeMove()
{
	static std::function<void()> call;
	return call;
}

bool Fail(Failure& failure, const char* call, int error)
{
	failure.call = call;
	failure.error = error;
	return false;
}

#if defined(_WIN32)
std::wstring Wide(const std::string& utf8)
{
	const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
	std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
	if (n > 0) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
	return wide;
}

// The folder is made with the ACL it inherits from its parent, the user's own on a user folder.
int MakeFolder(const std::string& path) { return _wmkdir(Wide(path).c_str()) == 0 ? 0 : errno; }

int MoveNoReplace(const std::string& from, const std::string& to)
{
	if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0)) return 0;
	const DWORD e = GetLastError();
	return e == ERROR_ALREADY_EXISTS || e == ERROR_FILE_EXISTS ? EEXIST : EIO;
}
#else
int MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), S_IRWXU) == 0 ? 0 : errno; }

#if defined(__APPLE__)
int MoveNoReplace(const std::string& from, const std::string& to)
{
	return ::renamex_np(from.c_str(), to.c_str(), RENAME_EXCL) == 0 ? 0 : errno;
}
#else
// Where the file system cannot refuse a target itself, the name is first claimed with a
// folder of our own, which a plain rename then replaces: a rename replaces an empty folder
// only, so what another run put there stays.
int MoveOverOwnClaim(const std::string& from, const std::string& to)
{
	if (::mkdir(to.c_str(), S_IRWXU) != 0) return errno;
	if (::rename(from.c_str(), to.c_str()) == 0) return 0;
	const int error = errno;
	::rmdir(to.c_str());
	return error == ENOTEMPTY ? EEXIST : error;
}

int MoveNoReplace(const std::string& from, const std::string& to)
{
	if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
	const int error = errno;
	return error == EINVAL || error == ENOSYS ? MoveOverOwnClaim(from, to) : error;
}
#endif
#endif

} // namespace

std::string Make(const std::string& parent, Failure& failure)
{
	static std::random_device random;
	for (int attempt = 0; attempt < kNameTries; ++attempt) {
		char name[24];
		std::snprintf(name, sizeof name, ".velmora-%08x", static_cast<unsigned>(random()));
		const int error = MakeFolder(parent + "/" + name);
		if (error == 0) return name;
		if (error != EEXIST) {
			Fail(failure, "mkdir", error);
			return std::string();
		}
	}
	Fail(failure, "mkdir", EEXIST);
	return std::string();
}

bool MoveIfFree(const std::string& from, const std::string& to, Failure& failure)
{
	if (BeforeMove()) BeforeMove()();
	const int error = MoveNoReplace(from, to);
	return error == 0 || Fail(failure, "rename", error);
}

void SetBeforeMoveForTests(std::function<void()> call) { BeforeMove() = std::move(call); }

} // namespace PrivateFolder
