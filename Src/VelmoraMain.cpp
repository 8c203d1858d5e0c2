#include "VelmoraMain.hpp"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "APICommon.hpp"
#include "Functions/mainmenu_about.hpp"
#include "Functions/mainmenu_help.hpp"
#include "Functions/mainmenu_importmap.hpp"
#include "Functions/mainmenu_settingsdefault.hpp"
#include "Functions/mainmenu_support.hpp"
#include "Functions/mainmenu_websitelogin.hpp"
#include "Functions/SearchUpdate.hpp"
#include "Helpers/CatchAll.hpp"
#include "RS.hpp"
#include "generic/Environment.hpp"
#include "generic/Interface.hpp"
#include "utils/TextUnits.hpp"

namespace {

constexpr GSFlags kSettingsMenuFlags = 3;
constexpr const char* kIOFailure = "Fatal Error point: IO::Init()";
constexpr const char* kHandlerPrefix = "Velmora / MenuCommandHandler# ";
// The entry points' reports begin with "Velmora / <entry point># ".
constexpr const char* kCheckEnvironmentPrefix = "Velmora / CheckEnvironment# ";
constexpr const char* kRegisterPrefix = "Velmora / RegisterInterface# ";
constexpr const char* kInitializePrefix = "Velmora / Initialize# ";
constexpr const char* kFreeDataPrefix = "Velmora / FreeData# ";

// Each command lives only while it runs; anything it throws is reported with its prefix.
template <typename Command>
GSErrCode Run()
{
	return CatchAll(Command::report_prefix, APIERR_GENERAL, [] {
		const std::unique_ptr<Command> command(new Command);
		command->do_it();
		return NoError;
	});
}

constexpr MenuCommand kCommands[kMenuCommandCount] = {
	{32501, 0, "mainmenu_websitelogin", &Run<mainmenu_websitelogin>},
	{32502, 0, "mainmenu_importmap", &Run<mainmenu_importmap>},
	{32503, kSettingsMenuFlags, "mainmenu_settingsdefault", &Run<mainmenu_settingsdefault>},
	{32504, 0, "mainmenu_help", &Run<mainmenu_help>},
	{32505, 0, "mainmenu_support", &Run<mainmenu_support>},
	{32506, 0, "mainmenu_about", &Run<mainmenu_about>},
};

} // namespace

const MenuCommand* MenuCommands() { return kCommands; }

const MenuCommand* FindMenuCommand(Int16 menuResID)
{
	for (const MenuCommand& c : kCommands)
		if (menuResID == c.menuId || menuResID == c.menuId + kNorwegianMenuOffset) return &c;
	return nullptr;
}

GSResID MenuIdOf(const MenuCommand& command, bool norwegian)
{
	return static_cast<GSResID>(command.menuId + (norwegian ? kNorwegianMenuOffset : 0));
}

API_AddonType AddonCheckEnvironment(API_EnvirParams* envir)
{
	if (envir == nullptr) return APIAddon_DontRegister;
	return CatchAll(kCheckEnvironmentPrefix, APIAddon_DontRegister, [envir] {
		const GSResModule own = ACAPI_GetOwnResModule();
		RSGetIndString(&envir->addOnInfo.name, kAddonInfoStrings, 1, own);
		RSGetIndString(&envir->addOnInfo.description, kAddonInfoStrings, 2, own);
		return APIAddon_Normal;
	});
}

GSErrCode AddonRegisterInterface()
{
	return CatchAll(kRegisterPrefix, APIERR_GENERAL, [] {
		const bool norwegian = IsArchiCADNorwegian();
		for (const MenuCommand& c : kCommands) {
			const GSResID menuId = MenuIdOf(c, norwegian);
			if (const GSErrCode err =
			        kivel::Interface::RegisterMenu(menuId, static_cast<short>(menuId + kPromptOffset), MenuCode_UserDef, c.flags))
				return err;
		}
		return GSErrCode(NoError);
	});
}

GSErrCode AddonInitialize()
{
	return CatchAll(kInitializePrefix, APIERR_GENERAL, [] {
		const bool norwegian = IsArchiCADNorwegian();
		for (const MenuCommand& c : kCommands)
			if (const GSErrCode err = kivel::Interface::InstallMenuHandler(MenuIdOf(c, norwegian), MenuCommandHandler)) return err;
		return GSErrCode(NoError);
	});
}

GSErrCode AddonFreeData()
{
	return CatchAll(kFreeDataPrefix, APIERR_GENERAL, [] { return GSErrCode(NoError); });
}

namespace {

GSErrCode HandleMenu(const API_MenuParams* menuParams)
{
	Do_SearchUpdate();

	if (IO::Init(true, GS::UniString(), 1) != NoError) {
		WriteReport_Alert("%s", kIOFailure);
		return APIERR_GENERAL;
	}
	const MenuCommand* command = menuParams != nullptr ? FindMenuCommand(menuParams->menuItemRef.menuResID) : nullptr;
	GSErrCode result = NoError;
	if (command != nullptr)
		result = command->run();
	else
		WriteReport_AlertPrefixed(kHandlerPrefix, "unknown code???");
	if (IO::End() != NoError) {
		WriteReport_Alert("%s", kIOFailure);
		return APIERR_GENERAL;
	}
	return result;
}

} // namespace

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
	return CatchAll(kHandlerPrefix, APIERR_GENERAL, [menuParams] { return HandleMenu(menuParams); });
}

bool IsArchiCADNorwegian()
{
	API_ServerApplicationInfo info{};
	if (kivel::Environment::GetServerApplicationInfo(info) != NoError) return false;
	return info.language.IsEqual(GS::UniString("NOR"), GS::CaseSensitive);
}

bool IsOSWindows()
{
#if defined(_WIN32)
	return true;
#else
	return false;
#endif
}

bool IsOSMacintosh()
{
#if defined(__APPLE__)
	return true;
#else
	return false;
#endif
}

bool IsOSLinux()
{
#if defined(__linux__)
	return true;
#else
	return false;
#endif
}

GS::UniString macintosh_filepath_update(const GS::UniString& path)
{
	GS::UniString escaped;
	for (const GS::UniChar unit : kivel::UnitsOf(path)) {
		if (unit == u' ') escaped.Append(u'\\');
		escaped.Append(unit);
	}
	return escaped;
}

GS::UniString shell_quote(const GS::UniString& argument)
{
	GS::UniString quoted(u"'");
	for (const GS::UniChar unit : kivel::UnitsOf(argument)) {
		if (unit == u'\'')
			quoted += GS::UniString(u"'\\''");
		else
			quoted.Append(unit);
	}
	quoted.Append(u'\'');
	return quoted;
}

int system_shell(const GS::UniString& command)
{
	// At most three bytes a UTF-16 unit (a surrogate pair makes four from two), and the zero.
	std::vector<char> buffer(command.GetLength() * 3 + 4);
	const GS::UniString::CStr text = command.ToCStr(GS::CC_Default);
	const std::size_t length = std::strlen(text.Get());
	if (length >= buffer.size()) return -1; // not reachable with the bound above
	std::memcpy(buffer.data(), text.Get(), length + 1);
	const int status = std::system(buffer.data());
#if defined(_WIN32)
	return status;
#else
	if (status == -1) return -1;
	if (WIFEXITED(status)) return WEXITSTATUS(status);
	return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
#endif
}
