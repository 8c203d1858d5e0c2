// Loads bytes with the trace captured.
#ifndef VELMORA_TESTS_R3DS_LOAD_HPP
#define VELMORA_TESTS_R3DS_LOAD_HPP

#include <sstream>
#include <string>

#include "Simple3dslib/Simple3ds.hpp"
#include "Writer3ds.hpp"

struct Loaded {
	bool ok = false;
	Simple3dsScene scene;
	std::string trace;
};

inline Loaded Load(const std::vector<std::uint8_t>& bytes)
{
	Loaded r;
	std::ostringstream trace;
	r.ok = Simple3ds::LoadSceneFromMemory(r.scene, bytes, trace);
	r.trace = trace.str();
	return r;
}

inline Loaded Load(const std::string& bytes) { return Load(w3ds::Bytes(bytes)); }

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

#endif
