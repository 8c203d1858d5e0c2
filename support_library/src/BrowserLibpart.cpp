#include "BrowserLibpart.hpp"

#include <stdexcept>

#include "ACAPinc.h"
#include "generic/Interface.hpp"

namespace kivel {

std::shared_ptr<ObjectData> OpenLibpartBrowser(const GS::UniString& guid, bool complexOnly)
{
	const GS::UniString::CStr wanted = guid.ToCStr();
	API_ObjectSettingsPars pars{};
	if (Interface::ShowObjectSettings(pars, API_ObjectID, wanted.Get()) != NoError) {
		ACAPI_DisposeAddParHdl(&pars.addPars);
		throw std::logic_error("The process is interrupted!");
	}
	if (complexOnly && !GS::UniString(pars.subtypeID).IsEqual(guid, GS::CaseInsensitive)) {
		ACAPI_DisposeAddParHdl(&pars.addPars);
		throw std::logic_error("Please use the complex element!");
	}
	return std::make_shared<ObjectData>(pars); // takes over the parameters
}

} // namespace kivel
