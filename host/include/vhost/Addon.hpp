// Loading an add-on module and driving it the way the host does.
#ifndef VHOST_ADDON_HPP
#define VHOST_ADDON_HPP

#include <string>

#include "APIdefs_Base.h"

namespace vhost {

struct AddonEntryPoints {
	API_AddonType (*checkEnvironment)(API_EnvirParams*) = nullptr;
	GSErrCode (*registerInterface)() = nullptr;
	GSErrCode (*initialize)() = nullptr;
	GSErrCode (*freeData)() = nullptr;
};

// dlopens the module and finds the four entry points. Answers false with the reason.
bool LoadAddonModule(const std::string& path, AddonEntryPoints& entries, void*& handle, std::string& error);
void UnloadAddonModule(void* handle);

// CheckEnvironment, RegisterInterface, Initialize behind the exception barrier; records the
// add-on's name and description. Answers false with the failing step.
bool StartAddon(const AddonEntryPoints& entries, std::string& error);
GSErrCode StopAddon(const AddonEntryPoints& entries);

// Runs the handler installed for a registered menu resource id (item 1), behind the
// barrier. APIERR_BADID when no handler is installed for it.
GSErrCode RunMenuCommand(Int16 menuResID, Int16 itemIndex = 1);

} // namespace vhost

#endif
