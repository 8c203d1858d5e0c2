// Attribute records: indices, headers, colours, pens.
#ifndef VHOST_APIDEFS_ATTRIBUTES_H
#define VHOST_APIDEFS_ATTRIBUTES_H

#include <cstring>

#include "APIdefs_Base.h"

#if VELMORA_HOST_API >= 27
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
#else
// Host 26: an attribute index is a plain int; 0 is "none".
using API_AttributeIndex = Int32;
#endif

enum API_AttrTypeID {
	API_ZombieAttrID = 0,
	API_LayerID = 1,
	API_LinetypeID = 2,
	API_FilltypeID = 3,
	API_CompWallID = 4,
	API_MaterialID = 5,
	API_LayerCombID = 6,
	API_ZoneCatID = 7,
	API_ProfileID = 8,
	API_PenTableID = 9
};

constexpr Int32 API_AttrNameLen = 256;

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

// An attribute's identity. The name is name (8-bit, in the host's default code) unless
// uniStringNamePtr is set, which then holds it.
struct API_Attr_Head {
	API_AttrTypeID typeID = API_ZombieAttrID;
	API_AttributeIndex index{};
	GSFlags flags = 0;
	char name[API_AttrNameLen] = {};
	API_Guid guid;
	GS::UniString* uniStringNamePtr = nullptr;
};

// A layer: elements on it are shown, hidden or locked together.
struct API_LayerType {
	API_Attr_Head head;
	Int32 conClassId = 0;          // intersection group
};

constexpr GSFlags APILay_Hidden = 0x0008;
constexpr GSFlags APILay_Locked = 0x0010;

#if VELMORA_HOST_API < 27
// Host 26 reads a pen as an attribute too, of this type (the host does not model pens).
constexpr API_AttrTypeID API_PenID = static_cast<API_AttrTypeID>(10);
struct API_PenType {
	API_Attr_Head head;
	API_RGBColor rgb;
	double width = 0.0;
};
#endif

namespace IO { class Location; }

// A material's texture: an image spread over xSize by ySize metres of the surface.
struct API_Texture {
	IO::Location* fileLoc = nullptr;          // the image file (the caller owns it); Get fills it when set
	GS::UniChar texName[API_AttrNameLen] = {}; // the texture's name
	Int32 status = 0;                         // texture flags
	double xSize = 0.0;                       // width, metres
	double ySize = 0.0;                       // height, metres
	double rotAng = 0.0;                      // rotation, radians
};

// A material: its surface, fill and texture.
struct API_MaterialType {
	API_Attr_Head head;
	Int32 mtype = 0;                          // kind of surface
	short ambientPc = 0;                      // percentages 0..100
	short diffusePc = 0;
	short specularPc = 0;
	short transpPc = 0;
	short shine = 0;
	short transpAtt = 0;
	short emissionAtt = 0;
	API_RGBColor surfaceRGB;
	API_RGBColor specularRGB;
	API_RGBColor emissionRGB;
	API_AttributeIndex ffillInd{};            // the fill shown in sections
	Int32 fillCol = 0;                        // the fill's colour code
	API_Texture texture;
};

// An attribute record: the head, or the record of the kind the head's type names. A new
// record is all zero bytes.
union API_Attribute {
	API_Attribute() { std::memset(static_cast<void*>(this), 0, sizeof(*this)); }

	API_Attr_Head header;
	API_LayerType layer;
	API_MaterialType material;
#if VELMORA_HOST_API < 27
	API_PenType pen;
#endif
};

// Variable-length attribute data (line-type dashes, fill lines), in host handles; free
// them with ACAPI_DisposeAttrDefsHdls.
struct API_AttributeDef {
	GSHandle ltype_dashItems = nullptr;
	GSHandle fill_lineItems = nullptr;
};

// A pen of the project's pen table.
struct API_Pen {
	API_AttributeIndex index{};
	API_RGBColor rgb;
	double width = 0.0;
};

#endif
