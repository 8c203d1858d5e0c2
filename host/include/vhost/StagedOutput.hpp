// Files put in place whole: written in a folder of the run's own, then moved to their names.
#ifndef VHOST_STAGED_OUTPUT_HPP
#define VHOST_STAGED_OUTPUT_HPP

#include <string>

namespace vhost {

// A new folder of this run's own inside `dir` (".velmora-host-XXXXXX", made exclusively),
// where output is written before Commit moves it to its name in `dir`. So a name in `dir`
// that holds a link is replaced, never written through, and a folder is replaced whole,
// without what an earlier run left in it. The staging folder goes with the object, with
// whatever was not committed.
class StagedOutput {
public:
	explicit StagedOutput(const std::string& dir);
	~StagedOutput();
	StagedOutput(const StagedOutput&) = delete;
	StagedOutput& operator=(const StagedOutput&) = delete;

	// Empty when the staging folder was made, else why not ("cannot write DIR: ...").
	const std::string& Why() const { return why_; }
	// The staging folder, and where `name` is written in it before it is committed.
	const std::string& Folder() const { return staging_; }
	std::string Staged(const std::string& name) const { return staging_ + "/" + name; }
	// Moves the staged `name` to DIR/name in place of whatever lies there (a file, a link,
	// a folder with all it holds). Answers false with why when it cannot.
	bool Commit(const std::string& name, std::string& why) const;

private:
	std::string dir_;
	std::string staging_; // empty when it could not be made
	std::string why_;
};

} // namespace vhost

#endif
