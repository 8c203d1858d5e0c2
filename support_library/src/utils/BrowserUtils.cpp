#include "utils/BrowserUtils.hpp"

#include "SystemURL.hpp"

namespace kivel {

void OpenBrowser(const GS::UniString& url)
{
	SysURL* made = SysURLCreateWithCharacters(url.ToUStr(), url.GetLength());
	if (made == nullptr) return; // not a URL: nothing was made, nothing to release
	SysURLOpen(made);
	SysURLRelease(made);
}

} // namespace kivel
