// Element records: type codes, heads, the element kinds the add-on places (object, mesh,
// line, polyline, arc, circle, text) and their memo, change masks, search and settings
// records, 3D and drawing-primitive references, user data.
#ifndef VHOST_APIDEFS_ELEMENTS_H
#define VHOST_APIDEFS_ELEMENTS_H

#include <cstddef>
#include <cstring>

#include "APIdefs_Attributes.h"
#include "APIdefs_Base.h"
#include "UniString.hpp"

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
	API_RadialDimensionID = 12,
	API_LevelDimensionID = 13,
	API_AngleDimensionID = 14,
	API_TextID = 15,
	API_LabelID = 16,
	API_ZoneID = 17,
	API_HatchID = 18,
	API_LineID = 19,
	API_PolyLineID = 20,
	API_ArcID = 21,
	API_CircleID = 22,
	API_SplineID = 23,
	API_HotspotID = 24,
	API_CutPlaneID = 25,
	API_CameraID = 26,
	API_CamSetID = 27,
	API_GroupID = 28,
	API_SectElemID = 29,
	API_DrawingID = 30,
	API_PictureID = 31
};

enum API_ElemVariationID : Int32 {
	APIVarId_Generic = 0,
	APIVarId_Object = 1,
	APIVarId_SymbolStair = 2,
	APIVarId_Light = 3
};

// The element type as hosts 27 and later carry it: type code, variation, class.
struct API_ElemType {
	API_ElemTypeID typeID;
	API_ElemVariationID variationID;
	API_Guid classID;
};

struct API_Elem_Head {
	API_ElemType type;
	API_Guid guid;
	API_AttributeIndex layer;
	Int16 floorInd;
};

// Polygon counts of an element; the points themselves are in the memo (coords, pends,
// parcs), one-based: coords[1..nCoords], pends[1..nSubPolys] the running end of each
// contour (pends[0] = 0), a closed contour repeating its first point at its end.
struct API_Polygon {
	Int32 nCoords;
	Int32 nSubPolys;
	Int32 nArcs;
};

// An arc segment of a polygon: the edge from point begIndex to endIndex bends by arcAngle.
struct API_PolyArc {
	Int32 begIndex;
	Int32 endIndex;
	double arcAngle;
};

// A library-part object (or lamp) placed on the plan.
struct API_ObjectType {
	API_Elem_Head head;
	Int32 libInd;              // the library part's index
	API_Coord pos;                 // reference point on the plan
	double level;            // above the home story's level
	double xRatio;           // A size
	double yRatio;           // B size
	Int16 pen;
	API_AttributeIndex ltypeInd;
	bool reflected;
	bool useObjPens;       // the object's own pens ...
	bool useObjLtypes;     // ... and line types, not the element's
	double angle;            // rotation in radians
};

// A mesh's level lines: counts only; the points are in the memo (meshLevelCoords,
// meshLevelEnds).
struct API_MeshLevel {
	Int32 nCoords;
	Int32 nSubLines;
};

// An attribute that overrides the one the element would otherwise take.
struct API_OverriddenAttribute {
	bool overridden;
	API_AttributeIndex attributeIndex;
};

// A terrain mesh: its outline polygon with one height per point (memo meshPolyZ) and
// level lines inside it.
struct API_MeshType {
	API_Elem_Head head;
	API_Polygon poly;
	API_MeshLevel levelLines;
	double level;            // base level, above the home story's level
	double skirtLevel;       // depth of the body below the lowest point
	Int16 contPen;             // outline on the plan
	Int16 levelPen;            // level lines on the plan
	bool useSectPens;      // the two section pens below apply
	Int16 sectContPen;         // cut outline in sections
	Int16 sectLevelPen;        // cut surface edges in sections
	API_OverriddenAttribute topMat; // surface material of the top
	bool materialsChained;
	bool showLevelLines;
	Int16 skirt;               // body kind below the surface
	Int16 fillPen;             // cut fill
	Int16 fillBGPen;
	API_AttributeIndex fillInd;
};

// A straight line of the 2D drawing.
struct API_LineType {
	API_Elem_Head head;
	Int16 linePen;
	API_AttributeIndex ltypeInd;
	API_Coord begC;
	API_Coord endC;
};

// A polyline of the 2D drawing: points in the memo (coords, pends, parcs).
struct API_PolyLineType {
	API_Elem_Head head;
	Int16 linePen;
	API_AttributeIndex ltypeInd;
	API_Polygon poly;
};

// An arc of the 2D drawing: angles in radians, counter-clockwise from the x axis.
struct API_ArcType {
	API_Elem_Head head;
	Int16 linePen;
	API_AttributeIndex ltypeInd;
	API_Coord origC;
	double r;
	double begAng;
	double endAng;
};

// A full circle of the 2D drawing.
struct API_CircleType {
	API_Elem_Head head;
	Int16 linePen;
	API_AttributeIndex ltypeInd;
	API_Coord origC;
	double r;
};

// A text block of the 2D drawing; its content is the memo's textContent.
struct API_TextType {
	API_Elem_Head head;
	Int16 pen;
	double size;             // letter height in millimetres on paper
	double angle;
	API_Coord loc;
	bool nonBreaking;      // kept as the add-on sets it
	Int32 charCode;            // kept as the add-on sets it
};

// An element record: the head, shared by every kind, or the record of the kind the head's
// type names. Every kind starts with the head, so element.header and element.object.head
// are the same bytes. A plain record: whoever makes one clears it (BNZeroMemory) before
// use; GetDefaults fills a kind's settings.
union API_Element {
	API_Elem_Head header;
	API_ObjectType object;
	API_ObjectType lamp;
	API_MeshType mesh;
	API_LineType line;
	API_PolyLineType polyLine;
	API_ArcType arc;
	API_CircleType circle;
	API_TextType text;
};

// One point of a mesh level line.
struct API_MeshLevelCoord {
	API_Coord3D c;
	Int32 vertexID;
};

struct API_AddParType;

// Variable-length element data in host handles (BMAllocateHandle), one-based where the
// element kind says so. Every handle belongs to whoever filled the memo: free them all with
// ACAPI_DisposeElemMemoHdls.
struct API_ElementMemo {
	API_Coord** coords;                 // polygon points
	Int32** pends;                      // contour ends
	API_PolyArc** parcs;                // arc segments
	UInt32** vertexIDs;                 // one id per polygon point
	double** meshPolyZ;                 // mesh: one height per polygon point
	API_MeshLevelCoord** meshLevelCoords; // mesh: level-line points
	Int32** meshLevelEnds;              // mesh: running end of each level line
	API_AddParType** params;            // object: the library part's parameters
	GS::UniString* textContent;         // text: its content (a new object)
};

// Which memo parts a Get or Change call reads or writes.
constexpr UInt64 APIMemoMask_Polygon = 0x0001;
constexpr UInt64 APIMemoMask_MeshPolyZ = 0x0002;
constexpr UInt64 APIMemoMask_MeshLevel = 0x0004;
constexpr UInt64 APIMemoMask_AddPars = 0x0008;
constexpr UInt64 APIMemoMask_TextContent = 0x0010;
constexpr UInt64 APIMemoMask_All = 0xFFFF;

// Change masks: an API_Element whose bytes are 0 except the fields to change.
#define ACAPI_ELEMENT_MASK_CLEAR(mask) std::memset(static_cast<void*>(&(mask)), 0, sizeof(API_Element))
#define ACAPI_ELEMENT_MASK_SETFULL(mask) std::memset(static_cast<void*>(&(mask)), 0xFF, sizeof(API_Element))
#define ACAPI_ELEMENT_MASK_SET(mask, typ, var) \
	std::memset(reinterpret_cast<char*>(&(mask)) + offsetof(typ, var), 0xFF, sizeof(typ::var))
#define ACAPI_ELEMENT_MASK_CHECK(mask, typ, var) \
	(reinterpret_cast<const unsigned char*>(&(mask))[offsetof(typ, var)] != 0)

// Filters of element lists.
using API_ElemFilterFlags = UInt32;
constexpr API_ElemFilterFlags APIFilt_None = 0x0000;
constexpr API_ElemFilterFlags APIFilt_OnVisLayer = 0x0002;
constexpr API_ElemFilterFlags APIFilt_OnActFloor = 0x0010;

// Solid element operations: the operator element's body acts on the target's.
enum API_SolidOperationID : UInt32 {
	APISolid_Substract = 0x53535542,  // 'SSUB'
	APISolid_SubstUp = 0x53535555,    // 'SSUU'
	APISolid_SubstDown = 0x5353444F,  // 'SSDO'
	APISolid_Intersect = 0x53494E54,  // 'SINT'
	APISolid_Add = 0x53414444         // 'SADD'
};

// Search for an element at a point.
struct API_ElemSearchPars {
	API_ElemType type;
	API_Coord loc;
	double z;
};

// Length of a library-part sub-type identifier field, with its terminating zero.
constexpr USize API_SubtypeIDLen = 128;

// The object settings dialog: what to show and, after it, what was chosen.
struct API_AddParType;

struct API_ObjectSettingsPars {
	API_ElemType type;
	char subtypeID[API_SubtypeIDLen];
	API_Element elemDef;                  // the chosen element settings
	API_AddParType** addPars;   // their parameters; the caller disposes them
};

// The owner of library-part parameters being read or changed.
struct API_ParamOwnerType {
	Int32 libInd;
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
	API_PrimTypeID typeID;
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
	Int32 fbody;
	Int32 lbody;
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
	API_3DTypeID typeID;
	Int32 index;
	API_Coord3D coord;
};

enum API_3DSightID { APISight_3DModelID = 0, APISight_RenderingID = 1 };

// Add-on data attached to an element.
struct API_UserData {
	Int32 dataVersion;
	UInt16 platformSign;
	GSHandle dataHdl;
};

#endif
