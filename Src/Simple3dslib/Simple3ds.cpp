#include "Simple3dslib/Simple3ds.hpp"

#include <exception>
#include <fstream>
#include <iostream>
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
bool Load(Reader& reader, Simple3dsScene& scene, std::ostream& trace)
{
	bool ok = false;
	bool failed = false;
	try {
		ok = ReadTop(reader, scene);
	} catch (const std::exception& e) {
		reader.FlushTrace();
		trace << "Exception!\n" << e.what() << "\n";
		failed = true;
	}
	reader.FlushTrace();
	trace.flush();
	return ok && !failed;
}

} // namespace

bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes, std::ostream& trace)
{
	Reader reader(bytes, &trace);
	return Load(reader, scene, trace);
}

bool LoadSceneFromMemory(Simple3dsScene& scene, const std::vector<std::uint8_t>& bytes)
{
	return LoadSceneFromMemory(scene, bytes, std::cout);
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
	const bool ok = Load(reader, scene, std::cout);
	stream.close();
	return ok;
}

} // namespace Simple3ds
