// Symbolic links that lead out of a folder: an archive can hold them, and the readers would
// follow them to files of the user's that must not travel with a project.
#ifndef VELMORA_OUTSIDELINKS_HPP
#define VELMORA_OUTSIDELINKS_HPP

#include <string>

// Removes every symbolic link at any depth under the folder at path whose target, resolved,
// does not lie inside the folder (itself resolved first: it may be reached through a link).
// A link whose target cannot be resolved counts as outside. Links to folders are removed or
// kept, never entered. Answers how many links were removed; -1 when the folder cannot be
// resolved.
int RemoveOutsideLinks(const std::string& path);

#endif
