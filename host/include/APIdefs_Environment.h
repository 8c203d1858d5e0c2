// Environment records: stories, the toolbox, special folders, 3D and rendering settings,
// and calls between add-ons.
#ifndef VHOST_APIDEFS_ENVIRONMENT_H
#define VHOST_APIDEFS_ENVIRONMENT_H

#include "APIdefs_Elements.h"

// One story of the project: its number and its level (elevation of its floor, metres).
struct API_StoryType {
	Int16 index;
	double level;
};

// The story settings: the range of story numbers, the current story and a handle of one
// record per story, lowest first. The caller frees the handle (BMKillHandle).
struct API_StoryInfo {
	Int16 firstStory;
	Int16 lastStory;
	Int16 actStory;
	API_StoryType** data;
};

enum API_StoryCmdID { APIStory_GoTo = 1, APIStory_Create = 2, APIStory_Delete = 3, APIStory_SetHeight = 4, APIStory_SetElevation = 5 };

struct API_StoryCmdType {
	API_StoryCmdID action;
	Int16 index;
	double height;
	double elevation;
};

// The tool box: the element type of the active tool.
struct API_ToolBoxItem {
	API_ElemType type;
};

// Host special folders.
enum API_SpecFolderID : Int32 {
	API_TemporaryFolderID = 3,
	API_UserDocumentsFolderID = 4,
	API_UserLibraryFolderID = 6,          // a writable folder of the user's own library parts
	API_EmbeddedProjectLibraryFolderID = 7
};

// 3D window, style, projection; rendering and structure display settings. Passed through
// whole; the host does not model them.
struct API_3DWindowInfo {
	double hSize;
	double vSize;
};

struct API_3DStyle {
	GS::UniString name;
};

struct API_3DProjectionInfo {
	bool isPersp;
	double azimuth;
};

enum API_RendSetTypeID { API_RendSet_Basic = 1, API_RendSet_Effects = 2, API_RendSet_Size = 3, API_RendSet_Background = 4 };

struct API_UIStructureDisplay {
	Int32 structureDisplay;
};

// Calls between add-ons.
struct API_ModulID {
	UInt32 developerID;
	UInt32 localID;
};

// Kinds of values in a parameter list between add-ons.
enum API_MDCLParameterType { MDCLPar_string = 1, MDCLPar_int = 2, MDCLPar_float = 3, MDCLPar_pointer = 4 };

struct API_MDCLParameter {
	Int32 index;
	const char* name;
	API_MDCLParameterType type;
	Int32 int_par;
	double float_par;
	const char* string_par;
	void* ptr_par;
};

// A command another add-on serves; answers a host error code.
using APIModulCommandProc = GSErrCode(GSHandle params, GSPtr resultData, bool silentMode);
// Receives the result of an external call or of a call from the event loop.
using APIModulCommandCallBackProc = GSErrCode(GSHandle* params, GSErrCode returnCode);

#endif
