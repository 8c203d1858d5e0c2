#include "vhost/Addon.hpp"

#include <dlfcn.h>

#include "APIdefs_Errors.h"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace vhost {

bool LoadAddonModule(const std::string& path, AddonEntryPoints& entries, void*& handle, std::string& error)
{
	handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (handle == nullptr) {
		const char* why = ::dlerror();
		error = "cannot load " + path + ": " + (why != nullptr ? why : "unknown reason");
		return false;
	}
	entries.checkEnvironment = reinterpret_cast<API_AddonType (*)(API_EnvirParams*)>(::dlsym(handle, "CheckEnvironment"));
	entries.registerInterface = reinterpret_cast<GSErrCode (*)()>(::dlsym(handle, "RegisterInterface"));
	entries.initialize = reinterpret_cast<GSErrCode (*)()>(::dlsym(handle, "Initialize"));
	entries.freeData = reinterpret_cast<GSErrCode (*)()>(::dlsym(handle, "FreeData"));
	const char* missing = entries.checkEnvironment == nullptr ? "CheckEnvironment"
		: entries.registerInterface == nullptr ? "RegisterInterface"
		: entries.initialize == nullptr ? "Initialize"
		: entries.freeData == nullptr ? "FreeData" : nullptr;
	if (missing != nullptr) {
		error = path + " does not export " + missing;
		::dlclose(handle);
		handle = nullptr;
		return false;
	}
	return true;
}

void UnloadAddonModule(void* handle)
{
	if (handle != nullptr) ::dlclose(handle);
}

bool StartAddon(const AddonEntryPoints& entries, std::string& error)
{
	Project& p = Current();
	API_EnvirParams envir {};
	envir.serverInfo.mainVersion = VELMORA_HOST_API;
	envir.serverInfo.language = GS::UniString(p.languageCode);
	API_AddonType type = APIAddon_Unknown;
	const GSErrCode checked = Guarded("CheckEnvironment", [&] {
		type = entries.checkEnvironment(&envir);
		return NoError;
	});
	if (checked != NoError || type == APIAddon_DontRegister || type == APIAddon_Unknown) {
		error = "CheckEnvironment refused to register";
		return false;
	}
	p.addonName = vhost::ToUtf8(envir.addOnInfo.name);
	p.addonDescription = vhost::ToUtf8(envir.addOnInfo.description);
	if (const GSErrCode err = Guarded("RegisterInterface", entries.registerInterface)) {
		error = "RegisterInterface failed: " + std::to_string(err);
		return false;
	}
	if (const GSErrCode err = Guarded("Initialize", entries.initialize)) {
		error = "Initialize failed: " + std::to_string(err);
		return false;
	}
	return true;
}

GSErrCode StopAddon(const AddonEntryPoints& entries)
{
	return Guarded("FreeData", entries.freeData);
}

GSErrCode RunMenuCommand(Int16 menuResID, Int16 itemIndex)
{
	const Project& p = Current();
	const auto it = p.menuHandlers.find(menuResID);
	if (it == p.menuHandlers.end()) return APIERR_BADID;
	API_MenuParams params;
	BNZeroMemory(&params, sizeof params);
	params.menuItemRef.menuResID = menuResID;
	params.menuItemRef.itemIndex = itemIndex;
	const MenuHandler handler = it->second;
	const GSErrCode result = Guarded("MenuCommandHandler", [&] { return handler(&params); });
	Current().menuRuns.push_back({menuResID, result});
	return result;
}

} // namespace vhost
