#include "Functions/mainmenu_help.hpp"

#include <memory>

#include "APICommon.hpp"
#include "Classes/url_ini.hpp"
#include "DG.h"
#include "Helpers/CatchAll.hpp"
#include "VelmoraMain.hpp"
#include "utils/BrowserUtils.hpp"
#include "utils/IOUtils.hpp"

const char* const mainmenu_help::report_prefix = "Error point: VELMORA / MenuHelpOpen() / ";

namespace {

const url_ini* UrlsOf(void** urls) { return urls != nullptr ? static_cast<const url_ini*>(*urls) : nullptr; }

void OpenField(void** urls, char (url_ini::*field)[UrlIniFieldSize])
{
	if (const url_ini* u = UrlsOf(urls)) kivel::OpenBrowser(GS::UniString(u->*field, GS::CC_UTF8));
}

} // namespace

void mainmenu_help::do_it()
{
	const std::unique_ptr<url_ini> urls(new url_ini);
	if (!urls->init()) {
		WriteReport_AlertPrefixed("Error point: VELMORA / MenuHelpOpen() / t_url->init() / ", urls->error);
		return;
	}
	const short dialog = IsArchiCADNorwegian() ? kHelpDialogIdNorwegian : kHelpDialogId;
	DGModalDialog(ACAPI_GetOwnResModule(), dialog, ACAPI_GetOwnResModule(), help_dg_handler,
		reinterpret_cast<long long>(urls.get()));
}

short mainmenu_help::help_dg_handler(short message, short /*dialID*/, short item, long long userData,
	long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		if (message != DG_MSG_CLICK) return 0;
		void* urls = reinterpret_cast<void*>(userData);
		switch (item) {
			case kHelpClose: return 1;
			case kHelpUserGuide: select_user_guide(&urls); return 0;
			case kHelpTutorialVideos: select_tutorial_videos(&urls); return 0;
			case kHelpTerrainData: select_terrain_data_web_page(&urls); return 0;
			default: return 0;
		}
	});
}

void mainmenu_help::select_user_guide(void** urls)
{
	const url_ini* u = UrlsOf(urls);
	if (u == nullptr) return;
	IO::Location guide;
	if (ACAPI_GetOwnLocation(&guide) != NoError) return;
	if (guide.DeleteLastLocalName() != NoError) return;
	if (guide.AppendToLocal(IO::Name(GS::UniString(u->help_userguide_file_name, GS::CC_Default))) != NoError) return;
	OpenFileWithSystem(guide);
}

void mainmenu_help::select_tutorial_videos(void** urls) { OpenField(urls, &url_ini::help_youtube_videos); }

void mainmenu_help::select_terrain_data_web_page(void** urls) { OpenField(urls, &url_ini::help_terrain_data_web_url); }

int OpenFileWithSystem(const IO::Location& file)
{
	if (!kivel::IsFileExist(file)) return 0;
	// Quoted whole: the path may hold spaces, quotes or "$(...)" from the install folder or url.txt.
	system_shell(GS::UniString("open ") + shell_quote(file.ToDisplayText()));
	return 0;
}
