// The stand-in's view of an attribute index: hosts 27 to 29 have an index type, host 26 a
// plain int (APIdefs_Attributes.h). The host and the tests read and make indices through these.
#ifndef VHOST_ATTRIBUTEINDEX_HPP
#define VHOST_ATTRIBUTEINDEX_HPP

#include "APIdefs_Attributes.h"

namespace vhost {

inline Int32 IndexValue(const API_AttributeIndex& index)
{
#if VELMORA_HOST_API >= 27
	return index.ToInt32();
#else
	return index;
#endif
}

inline API_AttributeIndex MakeIndex(Int32 value) { return API_AttributeIndex(value); }

} // namespace vhost

#endif
