// Loading a 3DS file into a Simple3dsScene.
#ifndef VELMORA_SIMPLE3DS_HPP
#define VELMORA_SIMPLE3DS_HPP

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "Helpers/ReadOutcome.hpp"
#include "Simple3dslib/Simple3dsScene.hpp"

namespace Simple3ds {

// Appends the materials and meshes of the 3DS file in `bytes` to `scene` and writes the
// reading trace to standard output in one piece. Answers Damaged when the data is shorter
// than a chunk header, the top chunk is neither 0x4D4D nor 0x3D3D, or a chunk was bad (a
// count, length or index that does not fit), OutOfMemory when an allocation failed
// ("Exception!" and its text are then written after the trace), else Read; what was read
// before a failure stays in `scene`.
ReadOutcome LoadScene(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes);
// The same, with the trace going to `trace`.
ReadOutcome LoadScene(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes, std::ostream& trace);
// LoadScene answering whether it read the whole file.
bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes);
bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes, std::ostream& trace);

// The same over the file at `path`, read through a stream. Writes "Could not open: " and the
// path and answers false when it cannot be opened; otherwise "File name: " and the path, then
// the trace.
bool LoadSceneFromFile(Simple3dsScene& scene, const char* path);

} // namespace Simple3ds

#endif
