// A small add-on for the host's own tests: four entry points and a menu handler whose
// commands report, throw, or create an element. It writes to its standard output through
// both streams without flushing them, where the host must not lose it.
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "ACAPinc.h"

namespace {

GSErrCode Handler(const API_MenuParams* params)
{
	switch (params->menuItemRef.menuResID) {
		case 100:
			std::printf("menu 100 ran;");
			std::cout << " through both streams;";
			ACAPI_WriteReport("hello from %s", false, "menu 100");
			return NoError;
		case 101: throw std::runtime_error("thrown by menu 101");
		case 102: throw "C string from menu 102";
		default: return APIERR_BADID;
	}
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) API_AddonType CheckEnvironment(API_EnvirParams* envir)
{
	envir->addOnInfo.name = "TestAddon";
	envir->addOnInfo.description = GS::UniString("A test add-on (") + envir->serverInfo.language + ")";
	return APIAddon_Normal;
}

__attribute__((visibility("default"))) GSErrCode RegisterInterface(void)
{
	for (short id = 100; id <= 102; ++id)
		if (const GSErrCode err = ACAPI_MenuItem_RegisterMenu(id, static_cast<short>(id + 10), MenuCode_UserDef, MenuFlag_Default)) return err;
	return NoError;
}

__attribute__((visibility("default"))) GSErrCode Initialize(void)
{
	std::printf("initialized;");
	for (short id = 100; id <= 102; ++id)
		if (const GSErrCode err = ACAPI_MenuItem_InstallMenuHandler(id, Handler)) return err;
	return NoError;
}

__attribute__((visibility("default"))) GSErrCode FreeData(void)
{
	std::printf(" freed");
	return NoError;
}

}
