#include "vhost/Unset.hpp"

#include "GSDebug.hpp"

namespace vhost {

bool HoldsFill(const void* field, std::size_t size)
{
	const auto* bytes = static_cast<const unsigned char*>(field);
	for (std::size_t i = 0; i < size; ++i)
		if (bytes[i] != kUnsetFill) return false;
	return size > 0;
}

GSErrCode RefuseUnset(const char* call, const char* field) noexcept
{
	try {
		DBPrintf("%s: %s was never set", call, field);
	} catch (...) {
		// Out of memory: the refusal stands without its debug line.
	}
	return APIERR_BADPARS;
}

GSErrCode CheckFieldsSet(const char* call, const void* base, const RecordField* fields, std::size_t count) noexcept
{
	const auto* bytes = static_cast<const unsigned char*>(base);
	for (std::size_t i = 0; i < count; ++i)
		if (HoldsFill(bytes + fields[i].offset, fields[i].size)) return RefuseUnset(call, fields[i].name);
	return NoError;
}

} // namespace vhost
