// Attribute records: indices, headers, colours, pens.
#ifndef VHOST_APIDEFS_ATTRIBUTES_H
#define VHOST_APIDEFS_ATTRIBUTES_H

#include <cstring>

#include "APIdefs_Base.h"

#if VELMORA_HOST_API >= 27
// An attribute's index within its type. Made with ACAPI_CreateAttributeIndex; 0 is "none".
class API_AttributeIndex {
public:
	API_AttributeIndex() = default; // holds no value until set, like an Int32
	constexpr explicit API_AttributeIndex(Int32 value) : value_(value) {}
	// The plain 32-bit index value.
	constexpr Int32 ToInt32() const { return value_; }
	constexpr bool operator==(const API_AttributeIndex& o) const { return value_ == o.value_; }
	constexpr bool operator!=(const API_AttributeIndex& o) const { return value_ != o.value_; }
	constexpr bool operator<(const API_AttributeIndex& o) const { return value_ < o.value_; }

private:
	Int32 value_;
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
	double f_red;
	double f_green;
	double f_blue;
};

struct API_RGBAColor {
	double f_red;
	double f_green;
	double f_blue;
	double f_alpha;
};

// An attribute's identity. The name is name (8-bit, in the host's default code) unless
// uniStringNamePtr is set, which then holds it.
struct API_Attr_Head {
	API_AttrTypeID typeID;
	API_AttributeIndex index;
	GSFlags flags;
	char name[API_AttrNameLen];
	API_Guid guid;
	GS::UniString* uniStringNamePtr;
};

// A layer: elements on it are shown, hidden or locked together.
struct API_LayerType {
	API_Attr_Head head;
	Int32 conClassId;          // intersection group
};

constexpr GSFlags APILay_Hidden = 0x0008;
constexpr GSFlags APILay_Locked = 0x0010;

#if VELMORA_HOST_API < 27
// Host 26 reads a pen as an attribute too, of this type (the host does not model pens).
constexpr API_AttrTypeID API_PenID = static_cast<API_AttrTypeID>(10);
struct API_PenType {
	API_Attr_Head head;
	API_RGBColor rgb;
	double width;
};
#endif

namespace IO { class Location; }

// A material's texture: an image spread over xSize by ySize metres of the surface.
struct API_Texture {
	IO::Location* fileLoc;          // the image file (the caller owns it); Get fills it when set
	GS::UniChar texName[API_AttrNameLen]; // the texture's name
	Int32 status;                         // texture flags
	double xSize;                       // width, metres
	double ySize;                       // height, metres
	double rotAng;                      // rotation, radians
};

// A material: its surface, fill and texture.
struct API_MaterialType {
	API_Attr_Head head;
	Int32 mtype;                          // kind of surface
	short ambientPc;                      // percentages 0..100
	short diffusePc;
	short specularPc;
	short transpPc;
	short shine;
	short transpAtt;
	short emissionAtt;
	API_RGBColor surfaceRGB;
	API_RGBColor specularRGB;
	API_RGBColor emissionRGB;
	API_AttributeIndex ffillInd;            // the fill shown in sections
	Int32 fillCol;                        // the fill's colour code
	API_Texture texture;
};

// An attribute record: the head, or the record of the kind the head's type names. A plain
// record: whoever makes one clears it (BNZeroMemory) before use.
union API_Attribute {
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
	GSHandle ltype_dashItems;
	GSHandle fill_lineItems;
};

// A pen of the project's pen table.
struct API_Pen {
	API_AttributeIndex index;
	API_RGBColor rgb;
	double width;
};

#endif
