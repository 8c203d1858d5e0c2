// Writes a ZIP archive (stored entries, no compression) of a folder's files.
#ifndef VELMORA_SAMPLE_ZIP_HPP
#define VELMORA_SAMPLE_ZIP_HPP

#include <string>

namespace sample {

// Archives every file under `folder` with names relative to it ("3D-modell/3ds/Veg.3ds").
// Answers an empty text on success, else what failed.
std::string ZipFolder(const std::string& folder, const std::string& zipPath);

} // namespace sample

#endif
