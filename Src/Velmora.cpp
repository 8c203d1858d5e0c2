// The entry points the host calls when it loads, registers, initialises and unloads the
// add-on. The module is built with hidden visibility; only these are exported.
#include "VelmoraMain.hpp"

#define VELMORA_EXPORT extern "C" __attribute__((visibility("default")))

VELMORA_EXPORT API_AddonType CheckEnvironment(API_EnvirParams* envir) { return AddonCheckEnvironment(envir); }
VELMORA_EXPORT GSErrCode RegisterInterface(void) { return AddonRegisterInterface(); }
VELMORA_EXPORT GSErrCode Initialize(void) { return AddonInitialize(); }
VELMORA_EXPORT GSErrCode FreeData(void) { return AddonFreeData(); }
