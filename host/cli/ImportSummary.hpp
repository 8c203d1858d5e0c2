// The short summary velmora-host prints when an import ends: what the command added to the
// project, read from the host's state before and after it.
#ifndef VELMORA_HOST_IMPORT_SUMMARY_HPP
#define VELMORA_HOST_IMPORT_SUMMARY_HPP

#include <chrono>
#include <cstddef>
#include <set>
#include <string>

namespace cli {

class ImportTally {
public:
	// Notes the current project and the time as the import starts.
	ImportTally();

	// Lines, each ending in a newline: the project's name, the time taken since the start,
	// the undo steps recorded since (with their failures), the elements made since by type
	// (in creation order), the library parts put into the project's own library since, and
	// the number of alerts reported since.
	std::string Summary(const std::string& project) const;

private:
	std::size_t undo_ = 0;
	std::size_t parts_ = 0;
	std::size_t reports_ = 0;
	std::set<std::string> elements_; // GUIDs as text
	std::chrono::steady_clock::time_point start_;
};

} // namespace cli

#endif
