#include "Helpers/OutsideLinks.hpp"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// The entries of one folder: its links that lead outside are removed, its folders are
// appended to pending.
void Sweep(const std::string& folder, const std::string& root, std::vector<std::string>& pending, int& removed)
{
	DIR* dir = opendir(folder.c_str());
	if (dir == nullptr) return;
	while (const dirent* entry = readdir(dir)) {
		if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
		const std::string path = folder + "/" + entry->d_name;
		struct stat status;
		if (lstat(path.c_str(), &status) != 0) continue;
		if (S_ISDIR(status.st_mode)) {
			pending.push_back(path);
		} else if (S_ISLNK(status.st_mode)) {
			const std::string target = Resolved(path);
			if ((target.empty() || !Inside(target, root)) && unlink(path.c_str()) == 0) ++removed;
		}
	}
	closedir(dir);
}

} // namespace

int RemoveOutsideLinks(const std::string& path)
{
	const std::string root = Resolved(path);
	if (root.empty()) return -1;
	int removed = 0;
	// Folder by folder, so that no depth of nesting in an archive deepens the stack.
	std::vector<std::string> pending{root};
	while (!pending.empty()) {
		const std::string folder = pending.back();
		pending.pop_back();
		Sweep(folder, root, pending, removed);
	}
	return removed;
}
