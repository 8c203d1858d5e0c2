// The add-on's spine: what its four entry points do, the menu handler that runs the six
// commands, the language choice, and the small operating-system helpers the commands use.
#ifndef VELMORA_VELMORAMAIN_HPP
#define VELMORA_VELMORAMAIN_HPP

#include "ACAPinc.h"

// Resource ids. A Norwegian menu or prompt is the other one plus 20; a prompt is its menu plus 10.
constexpr GSResID kAddonInfoStrings = 32000;       // item 1 the add-on's name, item 2 its description
constexpr GSResID kFirstMenuId = 32501;
constexpr GSResID kNorwegianMenuOffset = 20;
constexpr GSResID kPromptOffset = 10;

// One menu command: its id in the other language set, its registration flags, the name of its
// command class and how to run it. run answers 0, or APIERR_GENERAL when the command threw
// (reported once with the command's prefix and "Internal error: ").
struct MenuCommand {
	GSResID menuId;
	GSFlags flags;
	const char* commandName;
	GSErrCode (*run)();
};

// The six commands in registration order.
const MenuCommand* MenuCommands();
constexpr int kMenuCommandCount = 6;
// The command of a menu id of either language set; null for any other id.
const MenuCommand* FindMenuCommand(Int16 menuResID);
// The menu id a command registers with in the chosen set.
GSResID MenuIdOf(const MenuCommand& command, bool norwegian);

// What the entry points do (Velmora.cpp exports them with the host's names). Nothing thrown
// leaves any of them or the menu handler: it is reported once ("Velmora / <name># Internal
// error: <what>") and the answer is APIERR_GENERAL (CheckEnvironment: do not register).
// Fills the add-on's name and description from string list 32000; the add-on type 1.
API_AddonType AddonCheckEnvironment(API_EnvirParams* envir);
// Registers the six menus of the chosen language set in order; the first host error, else 0.
GSErrCode AddonRegisterInterface();
// Installs MenuCommandHandler for the same six menus; the first host error, else 0.
GSErrCode AddonInitialize();
// Frees nothing (no state outlives a command); 0.
GSErrCode AddonFreeData();

// Runs one menu command between IO::Init and IO::End. An unknown id is reported with an alert
// and runs nothing. APIERR_GENERAL (with the alert "Fatal Error point: IO::Init()") when the
// input/output layer cannot be opened or closed, or when the command threw; else 0.
GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);

// True exactly when the host's language code is "NOR"; false also when it cannot be read.
bool IsArchiCADNorwegian();

// The platform the add-on was built for.
bool IsOSWindows();
bool IsOSMacintosh();
bool IsOSLinux();

// The path with a backslash before every space; nothing else is escaped.
GS::UniString macintosh_filepath_update(const GS::UniString& path);
// The text as one argument of the POSIX shell: in single quotes, an embedded quote written as
// '\''. Safe for any path.
GS::UniString shell_quote(const GS::UniString& argument);
// Runs the command (converted to the host's default 8-bit character code) through the C
// library's system. Answers the command's exit status: 0 when it succeeded; -1 when no
// shell could run it; 128 plus the signal's number when a signal ended it.
int system_shell(const GS::UniString& command);

#endif
