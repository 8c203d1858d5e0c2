// The platform's URL opening, as the add-on calls it: a string object made from UTF-16
// characters, a URL object made from that string, and the launch services call that hands the
// URL to the system (the default browser, or for a file URL the default application). The host
// records what is opened in the project's urls instead. Objects are released with CFRelease.
#ifndef VHOST_CORESERVICES_H
#define VHOST_CORESERVICES_H

#include <cstdint>

typedef const void* CFTypeRef;
typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef const struct __CFURL* CFURLRef;
typedef long CFIndex;
typedef std::int32_t OSStatus;
typedef std::uint16_t UniChar;

// The default allocator (null, as on the platform).
extern const CFAllocatorRef kCFAllocatorDefault;

// A new string of numChars UTF-16 characters; null for null characters or a negative count.
CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars, CFIndex numChars);
// A new URL of the string, or null when the string is not a URL: empty, or holding a character
// a URL may not hold (space, control, non-ASCII, "<>\"\\^`{|}"), or a "%" not followed by two
// hex digits. Only a null base URL is modelled (another answers null).
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef urlString, CFURLRef baseURL);
// Opens the URL. Fails (opening nothing) for a URL without a scheme ("name:"). Only a null
// launched-URL argument is modelled (another fails).
OSStatus LSOpenCFURLRef(CFURLRef inURL, CFURLRef* outLaunchedURL);
// Releases an object made above. Releasing null, or an object twice, is a memory fault of the run.
void CFRelease(CFTypeRef cf);

#endif
