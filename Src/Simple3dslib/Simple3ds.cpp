#include "Simple3dslib/Simple3ds.hpp"

#include <exception>
#include <fstream>
#include <iostream>
#include <new>
#include <string>

#include "Simple3dslib/Reader.hpp"

namespace Simple3ds {

namespace {

bool ReadTop(Reader& reader, Simple3dsScene& scene)
{
	Chunk top;
	if (!reader.ReadChunk(top, 0)) return false;
	switch (top.id) {
		case 0x3D3D: return reader.Read_MDATA(scene, top);
		case 0x4D4D: return reader.Read_M3DMAGIC(scene, top);
		default: return false;
	}
}

// Reads the file (the reader writes the trace to its stream as it goes), then the text of an
// allocation failure if one stopped the reading.
ReadOutcome Load(Reader& reader, Simple3dsScene& scene, std::ostream& trace)
{
	ReadOutcome outcome = ReadOutcome::Damaged;
	try {
		if (ReadTop(reader, scene)) outcome = ReadOutcome::Read;
	} catch (const std::exception& e) {
		reader.FlushTrace();
		trace << "Exception!\n" << e.what() << "\n";
		// Only memory runs out in the reader; anything else is no reading of the file either.
		outcome = dynamic_cast<const std::bad_alloc*>(&e) != nullptr ? ReadOutcome::OutOfMemory : ReadOutcome::Damaged;
	}
	reader.FlushTrace();
	trace.flush();
	return outcome;
}

} // namespace

ReadOutcome LoadScene(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes, std::ostream& trace)
{
	Reader reader(bytes, &trace);
	return Load(reader, scene, trace);
}

ReadOutcome LoadScene(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes)
{
	return LoadScene(scene, bytes, std::cout);
}

bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes, std::ostream& trace)
{
	return LoadScene(scene, bytes, trace) == ReadOutcome::Read;
}

bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes)
{
	return LoadScene(scene, bytes) == ReadOutcome::Read;
}

bool LoadSceneFromFile(Simple3dsScene& scene, const char* path)
{
	std::ifstream stream(path, std::ios::binary);
	if (!stream) {
		std::cout << "Could not open: " << path << std::endl;
		return false;
	}
	std::cout << "File name: " << path << std::endl;
	Reader reader(stream, &std::cout);
	const ReadOutcome outcome = Load(reader, scene, std::cout);
	stream.close();
	return outcome == ReadOutcome::Read;
}

} // namespace Simple3ds
