// The host's part-file reader and parameter-section decoder over arbitrary bytes: whatever
// parses must write back to the same text, and a decoded parameter section must encode.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vhost/LibraryStore.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	vhost::LibraryPartRecord part;
	std::string why;
	if (vhost::ParseLibPartFile(text, part, why)) {
		const std::string written = vhost::FormatLibPartFile(part);
		vhost::LibraryPartRecord again;
		if (!vhost::ParseLibPartFile(written, again, why) || vhost::FormatLibPartFile(again) != written) std::abort();
	}
	vhost::ParamSection section;
	if (vhost::DecodeParamSection(text, section, why) == NoError) {
		std::string bytes;
		if (vhost::EncodeParamSection(section, bytes, why) != NoError) std::abort();
		vhost::FreeParamArrays(section.records);
	}
	return 0;
}
