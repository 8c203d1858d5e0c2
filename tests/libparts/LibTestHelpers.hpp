// Small builders shared by the library tests.
#ifndef VELMORA_LIBTESTHELPERS_HPP
#define VELMORA_LIBTESTHELPERS_HPP

#include <cstring>
#include <string>
#include <vector>

#include "ACAPinc.h"
#include "vhost/Text.hpp"

namespace libtest {

inline API_LibPart Record(const char* name, IO::Location* location = nullptr)
{
	API_LibPart part;
	std::memset(&part, 0, sizeof part);
	const std::u16string units = vhost::Units(GS::UniString(name));
	std::copy(units.begin(), units.end(), part.docu_UName);
	part.typeID = APILib_ObjectID;
	part.isPlaceable = true;
	part.location = location;
	return part;
}

inline API_AddParType Param(const char* name, API_AddParID type, Int16 typeMod = API_ParSimple, UInt32 flags = 0)
{
	API_AddParType p;
	std::memset(&p, 0, sizeof p);
	std::strncpy(p.name, name, sizeof p.name - 1);
	p.typeID = type;
	p.typeMod = typeMod;
	p.flags = flags;
	return p;
}

// A new parameter handle holding copies of the records.
inline API_AddParType** Handle(const std::vector<API_AddParType>& records)
{
	GSHandle h = BMAllocateHandle(static_cast<Int32>(records.size() * sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
	std::copy(records.begin(), records.end(), reinterpret_cast<API_AddParType*>(*h));
	return reinterpret_cast<API_AddParType**>(h);
}

// A memo with a parameter list, as the element calls give it.
struct Memo {
	API_AddParType** params = nullptr;
};

} // namespace libtest

#endif
