#include "Helpers/GSErrorCodes.hpp"

#include "Definitions.hpp"

namespace {

struct ErrRow {
	UInt32 code;
	const char* name;
	const char* detail;
	bool shortTable; // also named by ErrID_To_Name
};

constexpr ErrRow kRows[] = {
	{0x81060001, "APIERR_GENERAL", "General error code.", true},
	{0x81060002, "APIERR_MEMFULL", "Insufficient memory.", true},
	{0x81060003, "APIERR_CANCEL", "The operation has been canceled by the user, in case of a long process.", true},
	{0x81060065, "APIERR_BADID", "The passed identifier is not a valid one, or valid, but not proper for the given operation.", true},
	{0x81060066, "APIERR_BADINDEX", "The passed index is out of range.", true},
	{0x81060067, "APIERR_BADNAME", "The passed name is not proper or not found in the existing list.", true},
	{0x81060068, "APIERR_BADPARS", "The passed parameters are inconsistent.", true},
	{0x81060069, "APIERR_BADPOLY", "The passed polygon cannot be interpreted.", true},
	{0x8106006A, "APIERR_BADDATABASE", "The command cannot be executed on the current database.", true},
	{0x8106006B, "APIERR_BADWINDOW", "The command cannot be executed while the current window is active.", true},
	{0x8106006C, "APIERR_BADKEYCODE", "The key code cannot be found in the listing database.", true},
	{0x8106006D, "APIERR_BADPLATFORMSIGN", "The passed platform sign is not valid.", true},
	{0x8106006E, "APIERR_BADPLANE", "The plane equation is incorrect.", true},
	{0x8106006F, "APIERR_BADUSERID", "The passed user identifier is not valid.", true},
	{0x81060070, "APIERR_BADVALUE", "The passed value is out of its allowed range.", true},
	{0x81060071, "APIERR_BADELEMENTTYPE", "The function cannot be applied to the passed element type.", true},
	{0x81060072, "APIERR_IRREGULARPOLY", "The passed polygon or polyline is irregular; regularize it first.", true},
	{0x810600C9, "APIERR_NO3D", "The referenced element has no 3D representation.", true},
	{0x810600CA, "APIERR_NOMORE", "No more database items can be returned.", true},
	{0x810600CB, "APIERR_NOPLAN", "No project is open.", true},
	{0x810600CC, "APIERR_NOLIB", "No library was loaded. The operation cannot be executed without a loaded library. Can be returned by ACAPI_LibPart_Create.", true},
	{0x810600CD, "APIERR_NOLIBSECT", "The requested library-part section is not found.", true},
	{0x810600CE, "APIERR_NOSEL", "No selection: the operation needs selected elements.", true},
	{0x810600CF, "APIERR_NOTEDITABLE", "The referenced element is not editable.", true},
	{0x810600D0, "APIERR_NOTSUBTYPEOF", "The library part is not a subtype of the required type.", true},
	{0x810600D1, "APIERR_NOTEQUALMAIN", "The main GUIDs of the two library parts differ.", true},
	{0x810600D2, "APIERR_NOTEQUALREVISION", "The main GUIDs are equal, but the revision GUIDs differ.", true},
	{0x810600D3, "APIERR_NOTEAMWORKPROJECT", "The operation needs a teamwork project.", true},
	{0x810600DC, "APIERR_NOUSERDATA", "The element has no user data attached.", true},
	{0x810600DD, "APIERR_MOREUSER", "The user data cannot be added because it already exists.", true},
	{0x810600DE, "APIERR_LINKEXIST", "The link already exists.", true},
	{0x810600DF, "APIERR_LINKNOTEXIST", "The link does not exist.", true},
	{0x810600E0, "APIERR_WINDEXIST", "The window to open already exists.", true},
	{0x810600E1, "APIERR_WINDNOTEXIST", "The referenced window does not exist.", true},
	{0x810600E2, "APIERR_UNDOEMPTY", "No undoable entry has got into the undo queue.", true},
	{0x810600E3, "APIERR_REFERENCEEXIST", "The reference already exists.", true},
	{0x810600E4, "APIERR_NAMEALREADYUSED", "The name is already used by another item.", true},
	{0x8106012D, "APIERR_ATTREXIST", "An attribute with the same name already exists.", true},
	{0x8106012E, "APIERR_DELETED", "The referenced item has been deleted.", true},
	{0x8106012F, "APIERR_LOCKEDLAY", "The referenced layer is locked.", true},
	{0x81060130, "APIERR_HIDDENLAY", "The referenced layer is hidden.", true},
	{0x81060131, "APIERR_INVALFLOOR", "The passed story index is out of range.", true},
	{0x81060132, "APIERR_NOTMINE", "The item is not owned by the current user in teamwork.", true},
	{0x81060133, "APIERR_NOACCESSRIGHT", "The user has no right to do the operation.", true},
	{0x81060134, "APIERR_BADPROPERTY", "The property is not valid or not available for the element.", false},
	{0x81060135, "APIERR_BADCLASSIFICATION", "The classification is not valid or not available for the element.", false},
	{0x81060191, "APIERR_MODULNOTINSTALLED", "The referenced add-on is not installed.", true},
	{0x81060192, "APIERR_MODULCMDMINE", "The target add-on is the caller itself.", true},
	{0x81060193, "APIERR_MODULCMDNOTSUPPORTED", "The referenced command is not supported by the target add-on.", true},
	{0x81060194, "APIERR_MODULCMDVERSNOTSUPPORTED", "The requested command version is newer than the one the target add-on supports.", true},
	{0x81060195, "APIERR_NOMODULEDATA", "No custom data section is saved with the add-on.", true},
	{0x810601F5, "APIERR_PAROVERLAP", "Two or more paragraphs of the text overlap.", true},
	{0x810601F6, "APIERR_PARMISSING", "The paragraphs do not cover the whole text.", true},
	{0x810601F7, "APIERR_PAROVERFLOW", "A paragraph reaches past the end of the text.", true},
	{0x810601F8, "APIERR_PARIMPLICIT", "The text has implicit paragraphs (line ends) inside a paragraph.", true},
	{0x810601FE, "APIERR_RUNOVERLAP", "Two or more runs of a paragraph overlap.", true},
	{0x810601FF, "APIERR_RUNMISSING", "The runs do not cover the whole paragraph.", true},
	{0x81060200, "APIERR_RUNOVERFLOW", "A run reaches past the end of its paragraph.", true},
	{0x81060201, "APIERR_RUNIMPLICIT", "A run holds an implicit line end.", true},
	{0x81060202, "APIERR_RUNPROTECTED", "The run is protected and cannot be changed.", true},
	{0x81060208, "APIERR_EOLOVERLAP", "Two or more line ends of a paragraph overlap.", true},
	{0x81060212, "APIERR_TABOVERLAP", "Two or more tabulators of a paragraph overlap.", true},
	{0x81060385, "APIERR_NOTINIT", "The command needs an initialization by another command first.", true},
	{0x81060386, "APIERR_NESTING", "The command cannot be called from inside another one of its kind.", true},
	{0x81060387, "APIERR_NOTSUPPORTED", "The command is not supported by the host.", true},
	{0x81060388, "APIERR_REFUSEDCMD", "The command is refused in the current state of the host.", true},
	{0x81060389, "APIERR_REFUSEDPAR", "The command is refused with the passed parameters.", true},
	{0x8106038A, "APIERR_READONLY", "The specified location is read - only. Can be returned by ACAPI_LibPart_Create.", true},
	{0x8106038B, "APIERR_SERVICEFAILED", "The service of the invoked add-on failed.", true},
	{0x8106038C, "APIERR_COMMANDFAILED", "The invoked undoable command failed.", true},
	{0x8106038D, "APIERR_NEEDSUNDOSCOPE", "The called command must be run inside an undoable command.", true},
	{0x810603E9, "APIERR_MISSINGCODE", "The code of the requested function is missing from the host.", true},
	{0x810603EA, "APIERR_MISSINGDEF", "The definition (resource) the function needs is missing.", true},
	{0x810603EB, "APIERR_BADCLASSIFICATIONFORATTR", "APIERR_BADCLASSIFICATIONFORATTR", false},
	{0x81010100, "FileNotFound", "File is not found, connection failed.", false},
	{0x81010101, "NotAFile", "Not a file was specified, connection failed.", false},
	{0x81010102, "AccessDenied", "Access to file or file data is denied.", false},
	{0x81010103, "CreationError", "Creation of the file is failed.", false},
	{0x81010104, "NoMoreOSFile", "File can not be opened because there is no free OS handle.", false},
	{0x81010105, "IllegalPosition", "Illegal file position was specified.", false},
	{0x81010106, "InvalidTime", "Invalid time is encountered.", false},
};

struct ErrGroup {
	const char* name;
	const char* detail;
};

// Input/output codes 0x8101GGxx without a row of their own, by group GG.
constexpr ErrGroup kIOGroups[] = {
	{"LocationErrors", "Unknown LocationErrors"},
	{"FileErrors", "Unknown FileErrors"},
	{"FolderErrors", "Unknown FolderErrors"},
	{"FileSystemErrors", "Unknown FileSystemErrors"},
	{"TreeEnumeratorErrors", "Unknown TreeEnumeratorErrors"},
	{"RelativeLocationErrors", "Unknown RelativeLocationErrors"},
	{"TypeErrors", "Unknown TypeErrors"},
	{"URLErrors", "Unknown URLErrors"},
	{"ZipErrors", "Unknown ZipErrors"},
	{"CodeChannelErrors", "Unknown CodeChannelErrors"},
};

constexpr ErrGroup kUnknown = {"UNKNOWN???", "This error code is not in the collection"};
constexpr UInt32 kIOBase = 0x81010000u;
constexpr UInt32 kCodeChannelGroup = 9;

const ErrRow* FindRow(int code)
{
	for (const ErrRow& row : kRows)
		if (row.code == static_cast<UInt32>(code)) return &row;
	return nullptr;
}

const ErrGroup& GroupOf(int code)
{
	const UInt32 offset = static_cast<UInt32>(code) - kIOBase; // wraps for codes below the base
	if (offset < 0x900u) return kIOGroups[offset >> 8];
	if ((offset >> 8) == kCodeChannelGroup) return kIOGroups[kCodeChannelGroup];
	return kUnknown;
}

} // namespace

const char* GetGSErrName(int code)
{
	const ErrRow* row = FindRow(code);
	return row != nullptr ? row->name : GroupOf(code).name;
}

const char* GetGSErrDetail(int code)
{
	const ErrRow* row = FindRow(code);
	return row != nullptr ? row->detail : GroupOf(code).detail;
}

const char* GetAPIErrShortName(int code)
{
	const ErrRow* row = FindRow(code);
	return row != nullptr && row->shortTable ? row->name : nullptr;
}
