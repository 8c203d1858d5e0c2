// Symbolic links that lead out of a folder: an archive can hold them, and the readers would
// follow them to files of the user's that must not travel with a project. Paths are UTF-8;
// uses the platform's own POSIX calls.
#ifndef VELMORA_OUTSIDELINKS_HPP
#define VELMORA_OUTSIDELINKS_HPP

#include <string>

// What a walk over a folder did: the links it removed, or the step that stopped it.
struct LinkSweep {
	int removed = 0;
	const char* failedCall = nullptr; // "realpath", "lstat", "chmod", "opendir", "readdir", "unlink"; null: done
	int error = 0;                    // the failed call's errno
	std::string path;                 // what it was called on
	bool Done() const { return failedCall == nullptr; }
};

// Gives the folder at path and every folder at any depth under it its owner's read, write and
// search rights, the other mode bits kept; file modes stay. For a folder this user just made
// (an archive expanded here may have stored modes that forbid listing or changing a folder).
// Links are never entered. Stops at the first call that fails and names it.
LinkSweep OpenFoldersToOwner(const std::string& path);

// Opens the folders to their owner first (OpenFoldersToOwner), then removes every symbolic link
// at any depth under the folder at path that leads out of the folder (itself resolved first: it
// may be reached through a link): a link is kept only when it leads to something inside and,
// in a chain of links, each link does. A link whose target cannot be resolved counts as
// outside. Links to folders are removed or kept, never entered. Fails
// closed: a folder that cannot be listed, an entry that cannot be examined or an outside link
// that cannot be removed stops the sweep with that step named, so that the caller keeps none
// of the folder. When done, the count of links removed.
LinkSweep RemoveOutsideLinks(const std::string& path);

// Test seam: the call ("lstat", "chmod", "opendir", "readdir", "unlink"; "realpath" of the folder
// itself) answers failure with the errno after it was made (null call: none does).
void SetOutsideLinksFailingCallForTests(const char* call, int error);

#endif
