// Attribute records: indices, headers, colours, pens.
#ifndef VHOST_APIDEFS_ATTRIBUTES_H
#define VHOST_APIDEFS_ATTRIBUTES_H

#include "APIdefs_Base.h"

// An attribute's index within its type. Made with ACAPI_CreateAttributeIndex; 0 is "none".
class API_AttributeIndex {
public:
	constexpr API_AttributeIndex() = default;
	constexpr explicit API_AttributeIndex(Int32 value) : value_(value) {}
	// The plain 32-bit index value.
	constexpr Int32 ToInt32() const { return value_; }
	constexpr bool operator==(const API_AttributeIndex& o) const { return value_ == o.value_; }
	constexpr bool operator!=(const API_AttributeIndex& o) const { return value_ != o.value_; }
	constexpr bool operator<(const API_AttributeIndex& o) const { return value_ < o.value_; }

private:
	Int32 value_ = 0;
};

enum API_AttrTypeID {
	API_ZombieAttrID = 0,
	API_PenID = 1,
	API_LayerID = 2,
	API_LinetypeID = 3,
	API_FilltypeID = 4,
	API_CompWallID = 5,
	API_MaterialID = 6,
	API_CityID = 7,
	API_LayerCombID = 8
};

struct API_Attr_Head {
	API_AttrTypeID typeID = API_ZombieAttrID;
	API_AttributeIndex index;
	API_Guid guid;
	GS::UniString* uniStringNamePtr = nullptr; // the name, when the caller asks for it
};

// Colour components in 0..1.
struct API_RGBColor {
	double f_red = 0.0;
	double f_green = 0.0;
	double f_blue = 0.0;
};

struct API_RGBAColor {
	double f_red = 0.0;
	double f_green = 0.0;
	double f_blue = 0.0;
	double f_alpha = 0.0;
};

// A pen of the project's pen table.
struct API_Pen {
	API_AttributeIndex index;
	API_RGBColor rgb;
	double width = 0.0;
};

#endif
