// Where the add-on's standard output goes while it runs. A real host never shows it to its
// user: velmora-host writes it to a log file, drops it, or (verbose) lets it through.
#ifndef VELMORA_HOST_ADDON_OUTPUT_HPP
#define VELMORA_HOST_ADDON_OUTPUT_HPP

#include <string>

namespace cli {

class AddonOutput {
public:
	AddonOutput() = default;
	~AddonOutput();
	AddonOutput(const AddonOutput&) = delete;
	AddonOutput& operator=(const AddonOutput&) = delete;

	// Opens the sink: the file at `logPath` (made empty), or nowhere when the path is empty.
	// `passThrough` keeps standard output as it is. Answers why the log cannot be opened, or
	// an empty text.
	std::string Open(const std::string& logPath, bool passThrough);

	// While a Scope lives, file descriptor 1 is the sink (for the add-on, its C and C++
	// streams and the commands it runs). Both streams are flushed as it starts and ends, so
	// velmora-host's own output never lands in the sink and none of the add-on's is lost.
	class Scope {
	public:
		explicit Scope(const AddonOutput& output);
		~Scope();
		Scope(const Scope&) = delete;
		Scope& operator=(const Scope&) = delete;

	private:
		int saved_ = -1; // the standard output to put back; -1: nothing was redirected
	};

private:
	int sink_ = -1; // -1: standard output stays
};

} // namespace cli

#endif
