// Writes a ZIP archive (stored entries, no compression) of a folder's files and links.
#ifndef VELMORA_SAMPLE_ZIP_HPP
#define VELMORA_SAMPLE_ZIP_HPP

#include <map>
#include <string>

namespace sample {

// Archives every file under `folder` with names relative to it ("3D-modell/3ds/Veg.3ds"). A
// symbolic link is archived as a link (as Unix systems store one), never as what it points to.
// Answers an empty text on success, else what failed.
// The folders named in folderModes (relative names, "3D-modell/Ortofoto") are archived as
// entries of their own, each before what it holds, with that mode (0555, 0311), as Unix systems
// store a folder's mode.
std::string ZipFolder(const std::string& folder, const std::string& zipPath,
                      const std::map<std::string, unsigned>& folderModes = {});

} // namespace sample

#endif
