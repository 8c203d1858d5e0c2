#include "Helpers/OutsideLinks.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FailingCall {
	std::string call;
	int error = 0;
};

FailingCall& Failing()
{
	static FailingCall failing;
	return failing;
}

// The errno a test makes the call answer once it was made, or 0.
int Injected(const char* call) { return !Failing().call.empty() && Failing().call == call ? Failing().error : 0; }

// Whether the call, which answered ok, stands; else sweep names it with its errno.
bool Check(bool ok, const char* call, const std::string& path, LinkSweep& sweep)
{
	const int error = ok ? Injected(call) : errno;
	if (ok && error == 0) return true;
	sweep.failedCall = call;
	sweep.error = error;
	sweep.path = path;
	return false;
}

// The path with every link and "." or ".." resolved; empty when that is not possible.
std::string Resolved(const std::string& path)
{
	char* resolved = realpath(path.c_str(), nullptr);
	if (resolved == nullptr) return std::string();
	std::string result(resolved);
	std::free(resolved);
	return result;
}

bool Inside(const std::string& path, const std::string& root)
{
	if (path.compare(0, root.size(), root) != 0) return false;
	return path.size() == root.size() || path[root.size()] == '/' || root == "/";
}

// Links followed at most in one chain, as the system's own bound.
constexpr int kMaxHops = 40;

// The link's target as stored; empty when it cannot be read.
std::string LinkText(const std::string& link)
{
	for (std::size_t size = 256; size <= 65536; size *= 4) {
		std::vector<char> buffer(size);
		const ssize_t n = readlink(link.c_str(), buffer.data(), size);
		if (n < 0) return std::string();
		if (static_cast<std::size_t>(n) < size) return std::string(buffer.data(), static_cast<std::size_t>(n));
	}
	return std::string();
}

// Whether every link of the chain that starts at link leads to a place inside root, the last
// one to something that is there: a chain that passes outside could be turned elsewhere later
// by whoever owns the place it passes.
bool ChainStaysInside(const std::string& link, const std::string& root)
{
	std::string current = link;
	for (int hop = 0; hop < kMaxHops; ++hop) {
		const std::string text = LinkText(current);
		if (text.empty()) return false;
		const std::string candidate = text[0] == '/' ? text : current.substr(0, current.rfind('/') + 1) + text;
		const std::size_t slash = candidate.rfind('/');
		const std::string base = candidate.substr(slash + 1);
		const std::string parent = Resolved(slash == 0 ? "/" : candidate.substr(0, slash));
		if (parent.empty()) return false;
		const std::string next = base.empty() || base == "." || base == ".." ? Resolved(candidate)
		                         : parent == "/"                            ? parent + base
		                                                                    : parent + "/" + base;
		if (next.empty() || !Inside(next, root)) return false;
		struct stat status;
		if (lstat(next.c_str(), &status) != 0) return false;
		if (!S_ISLNK(status.st_mode)) return true;
		current = next;
	}
	return false;
}

// Called for each entry met, with its own status (links not followed); false stops the walk.
using Visit = std::function<bool(const std::string& path, const struct stat& status, LinkSweep& sweep)>;

// The entries of one folder, each visited; its folders are appended to pending.
bool VisitFolder(const std::string& folder, const Visit& visit, std::vector<std::string>& pending, LinkSweep& sweep)
{
	DIR* dir = opendir(folder.c_str());
	if (!Check(dir != nullptr, "opendir", folder, sweep)) {
		if (dir != nullptr) closedir(dir);
		return false;
	}
	bool ok = true;
	for (;;) {
		errno = 0;
		const dirent* entry = readdir(dir);
		if (entry == nullptr) {
			ok = Check(errno == 0, "readdir", folder, sweep);
			break;
		}
		if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
		const std::string path = folder + "/" + entry->d_name;
		struct stat status;
		if (!Check(lstat(path.c_str(), &status) == 0, "lstat", path, sweep) || !visit(path, status, sweep)) {
			ok = false;
			break;
		}
		if (S_ISDIR(status.st_mode)) pending.push_back(path);
	}
	closedir(dir);
	return ok;
}

// Visits the folder root, then every entry under it, each folder before what it holds.
// Folder by folder, so that no depth of nesting in an archive deepens the stack.
bool Walk(const std::string& root, const Visit& visit, LinkSweep& sweep)
{
	struct stat status;
	if (!Check(lstat(root.c_str(), &status) == 0, "lstat", root, sweep) || !visit(root, status, sweep)) return false;
	std::vector<std::string> pending{root};
	while (!pending.empty()) {
		const std::string folder = pending.back();
		pending.pop_back();
		if (!VisitFolder(folder, visit, pending, sweep)) return false;
	}
	return true;
}

bool OpenToOwner(const std::string& path, const struct stat& status, LinkSweep& sweep)
{
	if (!S_ISDIR(status.st_mode) || (status.st_mode & S_IRWXU) == S_IRWXU) return true;
	return Check(chmod(path.c_str(), (status.st_mode & 07777) | S_IRWXU) == 0, "chmod", path, sweep);
}

} // namespace

LinkSweep OpenFoldersToOwner(const std::string& path)
{
	LinkSweep sweep;
	Walk(path, OpenToOwner, sweep);
	return sweep;
}

LinkSweep RemoveOutsideLinks(const std::string& path)
{
	LinkSweep sweep = OpenFoldersToOwner(path);
	if (!sweep.Done()) return sweep;
	const std::string root = Resolved(path);
	if (!Check(!root.empty(), "realpath", path, sweep)) return sweep;
	Walk(root, [&root](const std::string& entry, const struct stat& status, LinkSweep& s) {
		if (!S_ISLNK(status.st_mode) || ChainStaysInside(entry, root)) return true;
		if (!Check(unlink(entry.c_str()) == 0, "unlink", entry, s)) return false;
		++s.removed;
		return true;
	}, sweep);
	return sweep;
}

void SetOutsideLinksFailingCallForTests(const char* call, int error)
{
	Failing() = FailingCall{call == nullptr ? std::string() : std::string(call), error};
}
