// Element records as far as the adaptation layer reaches them: type codes, heads,
// search and settings records, 3D and drawing-primitive references, user data.
#ifndef VHOST_APIDEFS_ELEMENTS_H
#define VHOST_APIDEFS_ELEMENTS_H

#include "APIdefs_Attributes.h"
#include "APIdefs_Base.h"

enum API_ElemTypeID : Int32 {
	API_ZombieElemID = 0,
	API_WallID = 1,
	API_ColumnID = 2,
	API_BeamID = 3,
	API_WindowID = 4,
	API_DoorID = 5,
	API_ObjectID = 6,
	API_LampID = 7,
	API_SlabID = 8,
	API_RoofID = 9,
	API_MeshID = 10,
	API_DimensionID = 11,
	API_TextID = 18,
	API_LabelID = 19,
	API_ZoneID = 20,
	API_HatchID = 21,
	API_LineID = 22,
	API_PolyLineID = 23,
	API_ArcID = 24,
	API_CircleID = 25,
	API_SplineID = 26,
	API_HotspotID = 27,
	API_PictureID = 30,
	API_GroupID = 50
};

enum API_ElemVariationID : Int32 {
	APIVarId_Generic = 0,
	APIVarId_Object = 1,
	APIVarId_SymbolStair = 2,
	APIVarId_Light = 3
};

// The element type as hosts 27 and later carry it: type code, variation, class.
struct API_ElemType {
	API_ElemTypeID typeID = API_ZombieElemID;
	API_ElemVariationID variationID = APIVarId_Generic;
	API_Guid classID;
};

struct API_Elem_Head {
	API_ElemType type;
	API_Guid guid;
	API_AttributeIndex layer;
	Int16 floorInd = 0;
};

// An element record. The element kinds add their own parts after the head.
struct API_Element {
	API_Elem_Head header;
};

// Variable-length element data (polygon coordinates, sub-polygon ends), in host handles.
struct API_ElementMemo {
	API_Coord** coords = nullptr;
	Int32** pends = nullptr;
};

// Search for an element at a point.
struct API_ElemSearchPars {
	API_ElemType type;
	API_Coord loc;
	double z = 0.0;
};

// Length of a library-part sub-type identifier field, with its terminating zero.
constexpr USize API_SubtypeIDLen = 128;

// The object settings dialog: what to show and, after it, what was chosen.
struct API_AddParType;

struct API_ObjectSettingsPars {
	API_ElemType type;
	char subtypeID[API_SubtypeIDLen] = {};
	API_Element elemDef;                  // the chosen element settings
	API_AddParType** addPars = nullptr;   // their parameters; the caller disposes them
};

// The owner of library-part parameters being read or changed.
struct API_ParamOwnerType {
	Int32 libInd = 0;
	API_ElemType type;
	API_Guid guid;
};

// A reference to an element from a drawing primitive.
struct API_PrimElemRef {
	API_ElemType type;
	API_Guid guid;
};

// An element shown in a section or elevation.
struct API_SectElemType {
	API_ElemType type;
	API_Guid guid;
};

// Drawing primitives handed to a shape callback.
enum API_PrimTypeID {
	API_PrimPointID = 1,
	API_PrimLineID = 2,
	API_PrimArcID = 3,
	API_PrimTextID = 4,
	API_PrimPLineID = 5,
	API_PrimTriID = 6,
	API_PrimPolyID = 7
};

struct API_PrimElement {
	API_PrimTypeID typeID = API_PrimPointID;
	API_PrimElemRef ref;
};

using ShapePrimsProc = GSErrCode(const API_PrimElement* primElem, const void* par1, const void* par2, const void* par3);

// Snap (neighbour) point kinds of elements.
enum API_NeigID {
	APINeig_None = 0,
	APINeig_Wall = 1,
	APINeig_Colu = 2,
	APINeig_Beam = 3,
	APINeig_Symb = 4,
	APINeig_Mesh = 5,
	APINeig_Line = 6,
	APINeig_Arc = 7,
	APINeig_Hatch = 8
};

// Four-character codes of host commands, read from the high byte down.
constexpr UInt32 API_FourCC(const char (&code)[5])
{
	return (static_cast<UInt32>(static_cast<unsigned char>(code[0])) << 24) |
		(static_cast<UInt32>(static_cast<unsigned char>(code[1])) << 16) |
		(static_cast<UInt32>(static_cast<unsigned char>(code[2])) << 8) |
		static_cast<UInt32>(static_cast<unsigned char>(code[3]));
}

// Commands of the grouping tool.
enum API_ToolCmdID : UInt32 {
	APITool_BringToFront = API_FourCC("OFR0"),
	APITool_BringForward = API_FourCC("OFR1"),
	APITool_SendToBack = API_FourCC("OBA0"),
	APITool_SendBackward = API_FourCC("OBA1"),
	APITool_Lock = API_FourCC("LOCK"),
	APITool_Unlock = API_FourCC("ULCK")
};

// The 3D model: bodies of an element and their components.
struct API_ElemInfo3D {
	Int32 fbody = 0;
	Int32 lbody = 0;
	API_Box3D bounds;
};

enum API_3DTypeID {
	API_3DUndefID = 0,
	API_BodyID = 1,
	API_PgonID = 2,
	API_PedgID = 3,
	API_EdgeID = 4,
	API_VertID = 5,
	API_VectID = 6,
	API_UmatID = 7
};

struct API_Component3D {
	API_3DTypeID typeID = API_3DUndefID;
	Int32 index = 0;
	API_Coord3D coord;
};

enum API_3DSightID { APISight_3DModelID = 0, APISight_RenderingID = 1 };

// Add-on data attached to an element.
struct API_UserData {
	Int32 dataVersion = 0;
	UInt16 platformSign = 0;
	GSHandle dataHdl = nullptr;
};

#endif
