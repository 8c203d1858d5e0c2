// A folder of one run's own beside others' (made by this call, open to this user alone), and a
// move that never replaces what lies at its target. Paths are UTF-8; uses the platform's own
// calls (mkdir, renameat2 on Linux, renamex_np on macOS, the wide-character calls on Windows).
#ifndef VELMORA_PRIVATEFOLDER_HPP
#define VELMORA_PRIVATEFOLDER_HPP

#include <functional>
#include <string>

namespace PrivateFolder {

// A failed step: the call ("mkdir", "rename") and its errno.
struct Failure {
	const char* call = nullptr;
	int error = 0;
};

// Makes a new folder in the folder parent, named ".velmora-" and eight hex digits (another name
// is tried while one is taken), created by this call with only its owner's rights. Answers its
// name, or an empty text with failure set.
std::string Make(const std::string& parent, Failure& failure);

// Moves the folder from to the path to in one step, only when nothing at all is at to (a
// file, a folder, a link): else failure's errno is EEXIST and nothing moved. True when moved;
// else false with failure set, the folder where it was.
bool MoveIfFree(const std::string& from, const std::string& to, Failure& failure);

// Test seam: called in MoveIfFree just before the move (null: nothing is).
void SetBeforeMoveForTests(std::function<void()> call);

} // namespace PrivateFolder

#endif
