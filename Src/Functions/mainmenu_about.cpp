#include "Functions/mainmenu_about.hpp"

#include "ACAPinc.h"
#include "DG.h"
#include "Helpers/CatchAll.hpp"
#include "Functions/AddonVersion.hpp"
#include "VelmoraMain.hpp"

const char* const mainmenu_about::report_prefix = "Error point: VELMORA / MenuAbout() / ";

GS::UniString AboutDateText()
{
	GS::UniString date(kBuildDate);
	date.ReplaceAll("/", ".");
	date.ReplaceAll("-", ".");
	return date;
}

GS::UniString AboutVersionText()
{
	return GS::UniString::Printf("%u.%u.%u", kVersionMajor, kVersionMinor, kVersionPatch);
}

void mainmenu_about::do_it()
{
	const short dialog = IsArchiCADNorwegian() ? kAboutDialogIdNorwegian : kAboutDialogId;
	DGModalDialog(ACAPI_GetOwnResModule(), dialog, ACAPI_GetOwnResModule(), about_dg_handler, 0);
}

short mainmenu_about::about_dg_handler(short message, short dialID, short item, long long /*userData*/,
	long long /*msgData*/)
{
	return CatchAll(report_prefix, short{0}, [&]() -> short {
		if (message == DG_MSG_INIT) {
			GS::UniString version = DGGetItemText(dialID, kAboutVersionText);
			GS::UniString date = DGGetItemText(dialID, kAboutDateText);
			version.ReplaceAll("{0}", AboutVersionText());
			date.ReplaceAll("{0}", AboutDateText());
			DGSetItemText(dialID, kAboutVersionText, version);
			DGSetItemText(dialID, kAboutDateText, date);
			return 0;
		}
		if (message == DG_MSG_CLICK) return item == kAboutClose ? 1 : 0;
		return 0;
	});
}
