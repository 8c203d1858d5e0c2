#include "Helpers/SameLocation.hpp"

#include <string>
#include <vector>

namespace {

std::u16string Normalised(const IO::Location& location)
{
	const GS::UniString text = location.ToDisplayText();
	const std::u16string path(text.ToUStr(), text.GetLength());
	const bool absolute = !path.empty() && path.front() == u'/';
	std::vector<std::u16string> names;
	for (std::size_t from = 0; from <= path.size();) {
		std::size_t to = path.find(u'/', from);
		if (to == std::u16string::npos) to = path.size();
		const std::u16string name = path.substr(from, to - from);
		from = to + 1;
		if (name.empty() || name == u".") continue;
		if (name == u".." && !names.empty() && names.back() != u"..") names.pop_back();
		else if (name != u".." || !absolute) names.push_back(name); // "/.." is "/"
	}
	std::u16string out = absolute ? u"/" : u"";
	for (std::size_t i = 0; i < names.size(); ++i) out += (i == 0 ? u"" : u"/") + names[i];
	return out;
}

} // namespace

bool SameLocation(const IO::Location& a, const IO::Location& b) { return Normalised(a) == Normalised(b); }
