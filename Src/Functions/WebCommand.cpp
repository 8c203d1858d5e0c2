#include "Functions/WebCommand.hpp"

#include <memory>

#include "APICommon.hpp"
#include "utils/BrowserUtils.hpp"

void OpenUrlField(char (url_ini::*field)[UrlIniFieldSize], const char* errorPrefix)
{
	const std::unique_ptr<url_ini> urls(new url_ini);
	if (!urls->init()) {
		WriteReport_AlertPrefixed(errorPrefix, urls->error);
		return;
	}
	kivel::OpenBrowser(GS::UniString((*urls).*field, GS::CC_UTF8));
}
