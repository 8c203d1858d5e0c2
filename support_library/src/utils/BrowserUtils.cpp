#include "utils/BrowserUtils.hpp"

#include <CoreServices/CoreServices.h>

namespace kivel {

void OpenBrowser(const GS::UniString& url)
{
	const CFStringRef text = CFStringCreateWithCharacters(kCFAllocatorDefault, reinterpret_cast<const UniChar*>(url.ToUStr()),
	                                                      static_cast<CFIndex>(url.GetLength()));
	if (text == nullptr) return;
	const CFURLRef address = CFURLCreateWithString(kCFAllocatorDefault, text, nullptr);
	if (address != nullptr) {
		LSOpenCFURLRef(address, nullptr); // what the system does with it is not looked at
		CFRelease(address);
	}
	CFRelease(text);
}

} // namespace kivel
