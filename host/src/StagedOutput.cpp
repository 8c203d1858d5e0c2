#include "vhost/StagedOutput.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vhost {

namespace fs = std::filesystem;

StagedOutput::StagedOutput(const std::string& dir) : dir_(dir)
{
	std::string pattern = dir + "/.velmora-host-XXXXXX";
	if (::mkdtemp(pattern.data()) != nullptr) staging_ = pattern;
	else why_ = "cannot write " + dir + ": " + std::strerror(errno);
}

StagedOutput::~StagedOutput()
{
	std::error_code ec;
	if (!staging_.empty()) fs::remove_all(fs::u8path(staging_), ec);
}

bool StagedOutput::Commit(const std::string& name, std::string& why) const
{
	const std::string from = Staged(name), to = dir_ + "/" + name;
	if (std::rename(from.c_str(), to.c_str()) == 0) return true;
	// A folder, or a folder where a file goes (or the reverse), cannot be renamed over: what
	// lies there moves into the staging folder, to go with it.
	const int first = errno;
	if (first == ENOTEMPTY || first == EEXIST || first == EISDIR || first == ENOTDIR) {
		const std::string aside = Staged(".replaced-" + name);
		if (std::rename(to.c_str(), aside.c_str()) == 0) {
			if (std::rename(from.c_str(), to.c_str()) == 0) return true;
			const int failed = errno;
			static_cast<void>(std::rename(aside.c_str(), to.c_str())); // the earlier output stays
			errno = failed;
		}
	}
	why = "cannot write " + to + ": " + std::strerror(errno);
	return false;
}

} // namespace vhost
