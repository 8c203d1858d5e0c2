// User interface records: point, line, arc and polygon input with rubber lines, neighbour
// filters, user controls in dialogs, attribute pickers.
#ifndef VHOST_APIDEFS_INTERFACE_H
#define VHOST_APIDEFS_INTERFACE_H

#include "ACAPI_Dialogs.h"
#include "APIdefs_Elements.h"
#include "GSOptional.hpp"

struct API_GetPointType {
	GS::UniString prompt;
	API_Coord3D pos;
};

struct API_GetLineType {
	GS::UniString prompt;
	API_Coord3D startCoord;
	API_Coord3D pos;
};

struct API_GetArcType {
	GS::UniString prompt;
	API_Coord3D origo;
	API_Coord3D startCoord;
	API_Coord3D pos;
};

struct API_GetPolyType {
	GS::UniString prompt;
	API_Coord3D** coords;
	Int32 nCoords;
};

struct API_RubberLineType {
	API_Coord3D c1;
	API_Coord3D c2;
};

struct API_RubberArcType {
	API_Coord3D origC;
	double r;
	double begAng;
	double endAng;
};

// Rubber-line drawing while the user moves the cursor.
// What the rubber-line feedback gets while the user moves the cursor: its position.
struct API_RubberLineInfo {
	API_Coord3D actCoord;
};
using RubberLineInfoProc = void(const API_RubberLineInfo* info);
// Picks a 3D component under the cursor.
using Get3DComponentProc = void(const void* info);

struct API_RubberPolyCallbacks {
	RubberLineInfoProc* rubberLineInfoProc;
};

using API_NeigFilter = char[16];

enum API_InitNeigFilterID { APIInitNeigFilter_Empty = 0, APIInitNeigFilter_Full = 1, APIInitNeigFilter_On = 2 };

// API_UCCallbackType (the pickers of dialogs) is in ACAPI_Dialogs.h.

struct API_AttributePickerParams {
	API_AttrTypeID type;
	API_AttributeIndex defaultAttributeIndex;
};

class API_AttributePicker {
public:
	virtual ~API_AttributePicker() = default;
};

#endif
