// Basic add-on API records: identities, geometry, environment, menus.
#ifndef VHOST_APIDEFS_BASE_H
#define VHOST_APIDEFS_BASE_H

#include "GSRoot.hpp"
#include "Location.hpp"

struct API_Guid {
	UInt32 time_low;
	UInt16 time_mid;
	UInt16 time_hi_and_version;
	UInt8 clock_seq_hi_and_reserved;
	UInt8 clock_seq_low;
	UInt8 node[6];

	bool operator==(const API_Guid& o) const;
	bool operator!=(const API_Guid& o) const { return !(*this == o); }
	bool operator<(const API_Guid& o) const;
};

API_Guid GSGuid2APIGuid(const GS::Guid& guid);
GS::Guid APIGuid2GSGuid(const API_Guid& guid);
GS::UniString APIGuidToString(const API_Guid& guid);
API_Guid APIGuidFromString(const char* text); // null identity when the text is not one
constexpr API_Guid APINULLGuid = {};

struct API_Coord {
	double x;
	double y;
};

struct API_Coord3D {
	double x;
	double y;
	double z;
};

struct API_Box {
	double xMin, yMin, xMax, yMax;
};

struct API_Box3D {
	double xMin, yMin, zMin, xMax, yMax, zMax;
};

// What CheckEnvironment answers.
enum API_AddonType { APIAddon_DontRegister = 0, APIAddon_Normal = 1, APIAddon_Preload = 2, APIAddon_Unknown = 3 };

struct API_AddOnInfo {
	GS::UniString name;
	GS::UniString description;
};

// The running host: its version and the user's language code ("INT", "NOR", ...).
struct API_ServerApplicationInfo {
	Int32 mainVersion;
	Int32 releaseVersion;
	Int32 buildNum;
	GS::UniString language;
};

struct API_EnvirParams {
	API_AddOnInfo addOnInfo;
	API_ServerApplicationInfo serverInfo;
};

// Menus.
enum APIMenuCodeID {
	MenuCode_UserDef = 0,
	MenuCode_Tools = 1,
	MenuCode_Extras = 2
};

constexpr UInt32 MenuFlag_Default = 0x0000;
constexpr UInt32 MenuFlag_SeparatorBefore = 0x0001;
constexpr UInt32 MenuFlag_SeparatorAfter = 0x0002;
constexpr UInt32 MenuFlag_InsertIntoSame = 0x0004;

struct API_MenuItemRef {
	Int16 menuResID;
	Int16 itemIndex; // 1-based
};

struct API_MenuParams {
	API_MenuItemRef menuItemRef;
};

using APIMenuCommandProc = GSErrCode(const API_MenuParams* menuParams);

// The host API generation (VELMORA_HOST_API, 26 to 29). Host 26 reaches some services through
// other entry points (ACAPI_Host26.h); the names that hosts 27 to 29 use for them are declared
// under VHOST_HOST29_NAMES. The stand-in's own code (VHOST_STANDIN: the host, its tests and
// tools) sees both sets, since the host offers both and forwards one to the other.
#if VELMORA_HOST_API >= 27 || defined(VHOST_STANDIN)
#define VHOST_HOST29_NAMES 1
#else
#define VHOST_HOST29_NAMES 0
#endif

// Resource modules: the add-on's own is the one the host knows of.
using GSResModule = Int32;
constexpr GSResModule InvalidResModule = -1;

#endif
