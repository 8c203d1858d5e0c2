// The headless host's state: one Project holds everything the host knows. Every host call
// reads or changes the current project; tests make a fresh one per test.
#ifndef VHOST_PROJECT_HPP
#define VHOST_PROJECT_HPP

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ACAPI_GeoLocation.h"
#include "APIdefs_Base.h"
#include "APIdefs_Elements.h"
#include "APIdefs_LibraryParts.h"
#include "Definitions.hpp"
#include "vhost/Dialogs.hpp"
#include "vhost/Materials.hpp"
#include "vhost/Resources.hpp"
#include "vhost/Script.hpp"

namespace vhost {

struct Report {
	std::string text;
	bool alert = false;
};

struct MenuRegistration {
	Int16 menuResID = 0;
	Int16 promptResID = 0;
	Int32 menuCode = 0;
	UInt32 flags = 0;
};

struct UndoStep {
	std::string name;
	GSErrCode result = NoError;
	bool rolledBack = false;
};

// A host call made to fail: the operation name as the add-on calls it (for example
// "IO::File::Open"), the code it answers, an optional path part that the location must
// contain (for ACAPI_Element_Create: the element kind's name, "Object", "Line", ...), and
// how many more times it fires (-1: always). A throwing fault throws
// std::bad_alloc from the call instead of answering, as a host out of memory may; passes
// matching calls go through before it fires.
struct Fault {
	std::string operation;
	GSErrCode code = NoError;
	std::string pathContains;
	int remaining = -1;
	bool throwsBadAlloc = false;
	int passes = 0;
};

// One placed element: the record as the add-on created it (head with its GUID) and copies
// of its memo data (one-based tables keep their entry 0).
struct ElementRecord {
	API_Element element {};
	std::vector<API_Coord> coords;
	std::vector<Int32> pends;
	std::vector<API_PolyArc> parcs;
	std::vector<UInt32> vertexIDs;
	std::vector<double> meshPolyZ;
	std::vector<API_MeshLevelCoord> meshLevelCoords;
	std::vector<Int32> meshLevelEnds;
	std::string params;        // object: the parameter records, encoded as a parameter section
	std::u16string text;
};

// A solid operation linking two elements.
struct SolidLinkRecord {
	API_Guid target {};
	API_Guid operatorElem {};
	UInt32 operation = 0;
	GSFlags flags = 0;
};

struct ParamCache; // host/src/LibraryParams.cpp

// The part of the project that an undoable step can roll back.
struct UndoableState {
	std::vector<ElementRecord> elements; // in creation order
	std::vector<SolidLinkRecord> solidLinks;
};

// What the open step needs to roll back the state: the counts at its start (whatever is
// appended after them is dropped), the originals of the elements it changed in place, and
// a copy of the whole state once it deletes. Kept this way, a step over a large project
// costs what it does, not a copy of the project.
struct UndoJournal {
	std::size_t elements = 0;
	std::size_t solidLinks = 0;
	std::map<std::size_t, ElementRecord> changed; // by position: the original
	std::optional<UndoableState> whole;
};

// Attributes: layers[i] has index i + 1; layer 1 exists in every project.
struct LayerRecord {
	std::u16string name;
	GSFlags flags = 0;
	Int32 conClassId = 0;
};

struct AttributeStore {
	std::vector<LayerRecord> layers = {LayerRecord{u"Archicad Layer", 0, 0}};
};

// Library store: the loaded library folders and every library part known in this run.
struct LibrarySectionRecord {
	UInt32 type = 0;
	Int16 subIdent = 0;
	std::string bytes;
};

struct LibraryPartRecord {
	Int32 index = 0;            // 1-based, never reused
	Int32 typeID = 0;
	std::u16string name;
	std::string ownUnID;
	std::string parentUnID;
	bool isTemplate = false;
	bool isPlaceable = true;
	std::string file;           // the part file
	bool gone = false;          // replaced or deleted
	Int32 replaces = 0;         // while being made: the index it takes over
	std::vector<LibrarySectionRecord> sections;
};

struct LibraryFolder {
	std::string path;
	std::string name;
	Int32 type = 1;             // 4: the embedded library
};

struct LibraryStore {
	bool started = false;       // the embedded library is loaded on first use
	std::vector<LibraryFolder> libraries;
	std::vector<LibraryPartRecord> parts; // parts[i].index == i + 1
	bool overwrite = false;
	// The part being made (Create .. Save) and its open section.
	bool creating = false;
	LibraryPartRecord pending;
	bool sectionOpen = false;
	LibrarySectionRecord openSection;
};

using MenuHandler = GSErrCode (*)(const void* menuParams);

// A call one add-on made to another: target, command, version, the parameters as
// "name=value" texts before the call, and the answer.
struct AddonCallRecord {
	UInt32 developerID = 0;
	UInt32 localID = 0;
	UInt32 command = 0;
	Int32 version = 0;
	std::vector<std::string> params;
	GSErrCode result = NoError;
};

// Another add-on installed in the host, answering commands: a command is served up to
// its version. The handler gets the call's parameter list (may be null), its result
// pointer and the silent flag.
using FakeCommandHandler = std::function<GSErrCode(GSHandle params, GSPtr resultData, bool silentMode)>;

struct FakeCommand {
	UInt32 command = 0;
	Int32 maxVersion = 1;
	FakeCommandHandler handler;
};

struct FakeAddon {
	UInt32 developerID = 0;
	UInt32 localID = 0;
	std::string name;
	std::vector<FakeCommand> commands;
};

// Adaptation layer: one story of the project, a tool box mode the add-on set, a dialog item
// the add-on turned into a picker.
struct StoryRecord {
	Int16 index = 0;
	double level = 0.0;
};

struct ToolBoxMode {
	Int32 typeID = 0;
	Int32 variationID = 0;
	std::string classID;
};

struct MenuRun {
	Int16 menuResID = 0;
	GSErrCode result = NoError;
};

struct Project {
	// Folders of this run.
	std::string runRoot;        // special folders live under it
	std::string addonFile;      // the loaded module (or the test binary's stand-in)
	std::string addonFolder;    // its folder: resource file, url.txt, VelmoraLib beside it
	std::string resourceFile;   // the add-on's resource file
	std::shared_ptr<const Resources> resources; // loaded on first use

	std::string languageCode = "INT";

	// What the add-on registered.
	std::string addonName;
	std::string addonDescription;
	std::vector<MenuRegistration> menus;
	std::map<Int16, MenuHandler> menuHandlers;

	// What the add-on said and did.
	std::vector<Report> reports;
	std::vector<AlertRecord> alerts;
	std::vector<std::string> debug;
	int beeps = 0;
	std::vector<std::string> urls;
	std::vector<std::string> shell;
	std::vector<std::string> exceptions;
	std::vector<std::string> scriptErrors;
	std::vector<std::string> memoryFaults;
	int memoryFaultsUnrecorded = 0; // found while memory ran out: counted, not described

	// The UI script and how far it has been played.
	std::vector<ScriptStep> script;
	std::size_t scriptPos = 0;

	// Undo.
	std::vector<UndoStep> undo;
	int undoDepth = 0;
	UndoableState state;
	UndoJournal undoJournal; // of the open step
	std::shared_ptr<ParamCache> paramCache; // the parts' decoded parameter sections

	// IO.
	int ioInitDepth = 0;
	std::vector<Fault> faults;
	bool keepInMemory = false;
	// IO::Location::AppendToLocal takes "." and ".." as names, as a host may: tests turn it
	// on to show that the add-on's own checks hold without the host's.
	bool appendTakesDotNames = false;
	int keepInMemoryRequests = 0; // calls that asked to stay loaded

	// Dialogs (host/src/Dialogs.cpp): the open modal dialogs, innermost last (a deque, so
	// a dialog stays put while its callback opens another), and what was shown.
	std::deque<DialogState> openDialogs;
	std::vector<DialogRecord> dialogsShown;
	std::vector<FileDialogRecord> fileDialogs;
	std::vector<std::string> dialogFaults; // dialog calls the add-on got wrong
	bool toolTips = false;
	bool scriptBroken = false; // after a script error the rest of the UI is cancelled
	std::vector<FileTypeRecord> fileTypes; // type id N is entry N-1

	// Adaptation layer: the stories (lowest first; one ground floor at 0 m by default), every
	// tool box mode set.
	std::vector<StoryRecord> stories = {StoryRecord{0, 0.0}};
	Int16 actStory = 0;
	std::vector<ToolBoxMode> toolBoxModes;
	// Every menu command the host ran, with the handler's result.
	std::vector<MenuRun> menuRuns;

	// Rubber lines the add-on drew as feedback during point and line input.
	std::vector<std::pair<API_Coord3D, API_Coord3D>> rubberLines;

	// Parameter-script runs: element GUID and mask.
	std::vector<std::pair<std::string, UInt32>> parameterScriptRuns;

	// Host-26 builds: every command sent through a dispatcher, as "Environment GSPF".
	std::vector<std::string> dispatcherCalls;
	// The named entry points of the adaptation and library wrappers the add-on called, in order,
	// as "ACAPI_ProjectSettings_GetSpecFolder"; set while a call is being forwarded to another
	// entry point, which is not recorded again (host/src/NamedCall.hpp).
	std::vector<std::string> namedCalls;
	int namedCallsUnrecorded = 0; // made while memory ran out: counted, not named
	bool forwardedCall = false;

	// Library store.
	LibraryStore library;

	// Attributes (layers; not rolled back by undo).
	AttributeStore attributes;

	// Element GUIDs are made from this counter, so runs are repeatable.
	UInt32 nextElementSerial = 0;

	// Calls between add-ons: every call made (for the dump), and the fake add-ons installed.
	std::vector<AddonCallRecord> addonCalls;
	std::vector<FakeAddon> fakeAddons;

	// The project's geolocation (host/src/Geolocation.cpp).
	API_GeoLocation geoLocation {};
	// Material attributes (host/src/Materials.cpp; not rolled back by undo).
	std::vector<MaterialRecord> materials;
};

// The current project. Always exists; Reset replaces it.
Project& Current();

// A fresh project whose special folders live under runRoot (made if missing). An empty
// runRoot makes a new temporary folder. addonFolder is where the add-on's files lie.
// Answers why the run root cannot be used (it is a file, a folder cannot be made in it, or
// one is not writable), or an empty text; it never throws.
std::string Reset(const std::string& runRoot, const std::string& addonFolder);

// Special folders under the run root, created on Reset.
std::string CommonDocumentsFolder();   // "Common Documents"
std::string DocumentsFolder();         // "Documents"
std::string UserLibraryFolder();       // "User Library"
std::string TempFolder();              // "Temp"
std::string EmbeddedLibraryFolder();   // "Project/Embedded Library"

// Fault injection. FaultFor answers the code to fail with (and counts the firing), or NoError;
// it throws for a throwing fault. The first `passFirst` matching calls succeed: passFirst =
// n - 1 fails the nth call on.
void InjectFault(const std::string& operation, GSErrCode code, const std::string& pathContains = "", int times = -1,
                 int passFirst = 0);
// A throwing fault: operation (on a path containing pathContains) throws std::bad_alloc
// `times` times (-1: always) after `passes` such calls went through.
void InjectBadAlloc(const std::string& operation, const std::string& pathContains = "", int passes = 0, int times = 1);
void ClearFaults();
GSErrCode FaultFor(const std::string& operation, const std::string& path = "");
// True when any fault is armed: hot paths ask this before building FaultFor's texts.
bool FaultsArmed();

// Live memory handles and pointers.
int LiveHandles();

// Records a misuse that a release call found (a handle freed twice, ...). Never throws, so
// that a release stays safe inside a destructor: when memory has run out, the misuse is
// only counted.
void RecordMemoryFault(const char* what) noexcept;

// Runs an add-on function behind the exception barrier: an exception is recorded in
// exceptions (with where) and answers Error.
GSErrCode Guarded(const char* where, const std::function<GSErrCode()>& fn);

// Element changes must happen inside an undoable step.
GSErrCode CheckUndoScope();
// Call before changing state.elements[index] in place in a step, or (index none) before
// deleting elements or links: the open step's journal keeps what its rollback needs.
void KeepForUndo(std::optional<std::size_t> index);
// Puts the state back as it was when the open step began (its rollback).
void RollBackStep();

// Writes the project as JSON (the keys that exist so far, in a stable order), streamed as
// the project is walked; DumpJson answers the same text.
void WriteProjectJson(std::ostream& out);
std::string DumpJson();
// Writes DIR/project.json, DIR/plan.svg and DIR/library/; answers false with why when a
// file cannot be written (never throws).
bool WriteProjectFiles(const std::string& dir, std::string& why);

// True when nothing went wrong that must fail the run (exceptions, script errors,
// memory faults, dialog faults).
bool RunIsClean();

} // namespace vhost

#endif
