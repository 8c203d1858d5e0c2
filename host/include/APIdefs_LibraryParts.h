// Library and library-part records: the loaded library list, parts, their sections and
// parameter records. Every record is plain data: whoever makes one clears it.
#ifndef VHOST_APIDEFS_LIBRARYPARTS_H
#define VHOST_APIDEFS_LIBRARYPARTS_H

#include "APIdefs_Base.h"
#include "GSRoot.hpp"
#include "Location.hpp"

// Four-character codes as 32-bit values, the first character in the high byte.
constexpr GSType MakeFourCC(char a, char b, char c, char d)
{
	return (static_cast<GSType>(static_cast<UInt8>(a)) << 24) | (static_cast<GSType>(static_cast<UInt8>(b)) << 16) |
		(static_cast<GSType>(static_cast<UInt8>(c)) << 8) | static_cast<GSType>(static_cast<UInt8>(d));
}

// Library-part section types.
constexpr GSType API_SectParamDef = MakeFourCC('P', 'A', 'R', 'D');  // parameters
constexpr GSType API_Sect1DScript = MakeFourCC('1', 'D', 'S', 'C');  // master script
constexpr GSType API_Sect2DScript = MakeFourCC('2', 'D', 'S', 'C');  // 2D script
constexpr GSType API_Sect3DScript = MakeFourCC('3', 'D', 'S', 'C');  // 3D script
constexpr GSType API_SectVLScript = MakeFourCC('V', 'L', 'S', 'C');  // parameter script

// Kinds of library parts.
enum API_LibTypeID : Int32 {
	API_ZombieLibID = 0,
	APILib_SpecID = 1,
	APILib_WindowID = 2,
	APILib_DoorID = 3,
	APILib_ObjectID = 4,
	APILib_LampID = 5,
	APILib_MacroID = 8,
	APILib_PictID = 11
};

// Kinds of loaded libraries.
enum API_LibraryTypeID : Int32 {
	API_UndefinedLibrary = 0,
	API_LocalLibrary = 1,
	API_BuiltInLibrary = 3,
	API_EmbeddedLibrary = 4
};

constexpr Int32 API_UniLongNameLen = 256;
constexpr Int32 API_GuidStrLen = 128;
constexpr Int32 API_NameLen = 32;

// A library part as the add-on describes and finds it. Texts are terminated; the host
// never reads past a field. `location` points at a location the caller owns, or is null.
struct API_LibPart {
	API_LibTypeID typeID;
	Int32 index;                                // 1-based; 0 for none
	GS::UniChar docu_UName[API_UniLongNameLen]; // the part's name
	GS::UniChar file_UName[API_UniLongNameLen]; // its file name
	char ownUnID[API_GuidStrLen];
	char parentUnID[API_GuidStrLen];
	bool isTemplate;
	bool isPlaceable;
	IO::Location* location;
};

struct API_LibPartSection {
	GSType sectType;
	Int16 subIdent;
};

// Details kept in the parameter section.
struct API_LibPartDetails {
	bool object;       // placed as an object
	bool fixSize;      // A and B fixed
	bool autoHotspot;  // the host adds bounding-box hotspots
	bool reserved;
};

// One entry of the loaded library list.
struct API_LibraryInfo {
	IO::Location location;
	GS::UniString name;
	API_LibraryTypeID libraryType;
};

// Parameter types.
enum API_AddParID : Int32 {
	APIParT_Integer = 1,
	APIParT_Length = 2,
	APIParT_Angle = 3,
	APIParT_RealNum = 4,
	APIParT_LightSw = 5,
	APIParT_ColRGB = 6,
	APIParT_Intens = 7,
	APIParT_LineTyp = 8,
	APIParT_Mater = 9,
	APIParT_FillPat = 10,
	APIParT_PenCol = 11,
	APIParT_CString = 12,
	APIParT_Boolean = 13,
	APIParT_Separator = 14,
	APIParT_Title = 15,
	APIParT_BuildingMaterial = 16,
	APIParT_Profile = 17
};

// Type modifiers.
constexpr Int16 API_ParSimple = 0;
constexpr Int16 API_ParArray = 2;

// Parameter flags.
constexpr UInt32 API_ParFlg_Child = 0x01;
constexpr UInt32 API_ParFlg_BoldName = 0x02;
constexpr UInt32 API_ParFlg_Fixed = 0x04;
constexpr UInt32 API_ParFlg_Hidden = 0x80;

// One parameter. Scalars hold `value.real` or `value.uStr`; arrays (typeMod 2) hold
// `value.array`: dim1 * dim2 doubles row by row, or for texts every cell's UTF-16 units
// with a terminator after each cell.
struct API_AddParType {
	Int32 index;
	API_AddParID typeID;
	Int16 typeMod;
	char name[API_NameLen];
	GS::UniChar uDescname[API_UniLongNameLen];
	UInt32 flags;
	Int32 dim1;
	Int32 dim2;
	union {
		double real;
		GS::UniChar uStr[API_UniLongNameLen];
		GSHandle array;
	} value;
};

#endif
