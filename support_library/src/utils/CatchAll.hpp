// Nothing thrown may cross into the host or a C library: every function called from outside
// (entry points, the menu handler, dialog, enumerator and rubber-line callbacks, undoable
// steps, libcurl's write function) runs its body through CatchAll.
#ifndef KIVEL_CATCHALL_HPP
#define KIVEL_CATCHALL_HPP

#include <exception>

namespace kivel {

// Writes prefix, "Internal error: " and what to the report window with an alert. Never throws.
void ReportInternalError(const char* prefix, const char* what) noexcept;

// Answers body(). When body throws, what it threw is reported once (ReportInternalError with
// prefix: the text of a std::exception or of a thrown C string, "unknown exception" for
// anything else) and the answer is failed.
template <typename R, typename Body>
R CatchAll(const char* prefix, R failed, Body&& body) noexcept
{
	try {
		return body();
	} catch (const std::exception& e) {
		ReportInternalError(prefix, e.what());
	} catch (const char* text) {
		ReportInternalError(prefix, text);
	} catch (...) {
		ReportInternalError(prefix, "unknown exception");
	}
	return failed;
}

} // namespace kivel

#endif
