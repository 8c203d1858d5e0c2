#include "utils/RapidJsonParsers.hpp"

#include <ctime>
#include <exception>
#include <iomanip>
#include <limits>
#include <sstream>

#include "utils/GuidUtils.hpp"

namespace kivel::RapidJsonParsers {

namespace {

const char* const kTimePrefix = "Error in parsing 'GSTimeRecord': ";
const char* const kDatePrefix = "Error in parsing 'GSDateRecord': ";

// The named member of an object; null when value is not an object or has no such member.
const JsonValue* Member(const JsonValue& value, const char* name)
{
	if (!value.IsObject() || name == nullptr) return nullptr;
	const auto it = value.FindMember(name);
	return it != value.MemberEnd() ? &it->value : nullptr;
}

template <typename T>
bool FromMember(const JsonValue& value, const char* name, T& out, bool (*read)(const JsonValue&, T&))
{
	const JsonValue* member = Member(value, name);
	return member != nullptr && read(*member, out);
}

bool IntIn(const JsonValue& value, long long low, long long high)
{
	return value.IsInt64() && value.GetInt64() >= low && value.GetInt64() <= high;
}

void ReportParse(const char* prefix, const std::string& what)
{
	ACAPI_WriteReport("%s%s", true, prefix, what.c_str());
}

// Parses text with the format; false (reported) when it does not parse.
bool ParseTime(const char* text, const char* format, const char* prefix, std::tm& tm)
{
	try {
		tm = std::tm{};
		std::istringstream in(text);
		in >> std::get_time(&tm, format != nullptr ? format : "");
		if (in.fail()) {
			ReportParse(prefix, text);
			return false;
		}
		return true;
	} catch (const std::exception& e) {
		ReportParse(prefix, e.what());
		return false;
	}
}

void StoreDate(const std::tm& tm, GSDateRecord& out)
{
	out.year = static_cast<UInt16>(tm.tm_year + 1900);
	out.month = static_cast<UInt16>(tm.tm_mon + 1);
	out.day = static_cast<UInt16>(tm.tm_mday);
}

void StoreTime(const std::tm& tm, GSTimeRecord& out)
{
	out.year = static_cast<UInt16>(tm.tm_year + 1900);
	out.month = static_cast<UInt16>(tm.tm_mon + 1);
	out.day = static_cast<UInt16>(tm.tm_mday);
	out.hour = static_cast<UInt16>(tm.tm_hour);
	out.minute = static_cast<UInt16>(tm.tm_min);
	out.second = static_cast<UInt16>(tm.tm_sec);
}

bool ReadTimeText(const JsonValue& value, GSTimeRecord& out, const char* format)
{
	std::tm tm{};
	if (!value.IsString() || !ParseTime(value.GetString(), format, kTimePrefix, tm)) return false;
	StoreTime(tm, out);
	return true;
}

bool ReadDateText(const JsonValue& value, GSDateRecord& out, const char* format)
{
	std::tm tm{};
	if (!value.IsString() || !ParseTime(value.GetString(), format, kDatePrefix, tm)) return false;
	StoreDate(tm, out);
	return true;
}

} // namespace

bool ReadBoolFromJsonObj(const JsonValue& value, bool& out)
{
	if (!value.IsBool()) return false;
	out = value.IsTrue();
	return true;
}

bool ReadShortFromJsonObj(const JsonValue& value, short& out)
{
	if (!IntIn(value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max())) return false;
	out = static_cast<short>(value.GetInt());
	return true;
}

bool ReadIntFromJsonObj(const JsonValue& value, int& out)
{
	if (!value.IsInt()) return false;
	out = value.GetInt();
	return true;
}

bool ReadUIntFromJsonObj(const JsonValue& value, unsigned int& out)
{
	if (!value.IsUint()) return false;
	out = value.GetUint();
	return true;
}

bool ReadLongFromJsonObj(const JsonValue& value, long long& out)
{
	if (!value.IsInt()) return false;
	out = value.GetInt();
	return true;
}

bool ReadUShortFromJsonObj(const JsonValue& value, unsigned short& out)
{
	if (!IntIn(value, 0, std::numeric_limits<unsigned short>::max())) return false;
	out = static_cast<unsigned short>(value.GetUint());
	return true;
}

bool ReadDoubleFromJsonObj(const JsonValue& value, double& out)
{
	if (!value.IsDouble()) return false;
	out = value.GetDouble();
	return true;
}

bool ReadStringFromJsonObj(const JsonValue& value, GS::UniString& out)
{
	if (!value.IsString()) return false;
	out = GS::UniString(value.GetString(), GS::CC_UTF8);
	return true;
}

bool ReadStringFromJsonObj(const JsonValue& value, std::string& out)
{
	if (!value.IsString()) return false;
	out = value.GetString();
	return true;
}

bool ReadGuidFromJsonObj(const JsonValue& value, API_Guid& out)
{
	if (!value.IsString()) return false;
	out = API_Guid{};
	return GuidUtils::ToGuid(value.GetString(), out) == NoError;
}

bool ReadDateTimeFromJsonObj(const JsonValue& value, GSTimeRecord& out)
{
	return ReadTimeText(value, out, "%Y-%m-%d %H:%M:%S");
}

bool ReadDateFromJsonObj(const JsonValue& value, GSDateRecord& out) { return ReadDateText(value, out, "%Y-%m-%d"); }

bool ReadBoolFromJsonObj(const JsonValue& value, const char* name, bool& out)
{
	return FromMember<bool>(value, name, out, ReadBoolFromJsonObj);
}
bool ReadShortFromJsonObj(const JsonValue& value, const char* name, short& out)
{
	return FromMember<short>(value, name, out, ReadShortFromJsonObj);
}
bool ReadIntFromJsonObj(const JsonValue& value, const char* name, int& out)
{
	return FromMember<int>(value, name, out, ReadIntFromJsonObj);
}
bool ReadUIntFromJsonObj(const JsonValue& value, const char* name, unsigned int& out)
{
	return FromMember<unsigned int>(value, name, out, ReadUIntFromJsonObj);
}
bool ReadLongFromJsonObj(const JsonValue& value, const char* name, long long& out)
{
	return FromMember<long long>(value, name, out, ReadLongFromJsonObj);
}
bool ReadUShortFromJsonObj(const JsonValue& value, const char* name, unsigned short& out)
{
	return FromMember<unsigned short>(value, name, out, ReadUShortFromJsonObj);
}
bool ReadDoubleFromJsonObj(const JsonValue& value, const char* name, double& out)
{
	return FromMember<double>(value, name, out, ReadDoubleFromJsonObj);
}
bool ReadStringFromJsonObj(const JsonValue& value, const char* name, GS::UniString& out)
{
	return FromMember<GS::UniString>(value, name, out, ReadStringFromJsonObj);
}
bool ReadStringFromJsonObj(const JsonValue& value, const char* name, std::string& out)
{
	return FromMember<std::string>(value, name, out, ReadStringFromJsonObj);
}
bool ReadGuidFromJsonObj(const JsonValue& value, const char* name, API_Guid& out)
{
	return FromMember<API_Guid>(value, name, out, ReadGuidFromJsonObj);
}

bool ReadDateTimeFromJsonObj(const JsonValue& value, const char* name, GSTimeRecord& out, const char* format)
{
	const JsonValue* member = Member(value, name);
	if (member == nullptr) return false;
	if (member->IsString()) return ReadTimeText(*member, out, format);
	long long seconds = 0;
	if (!ReadLongFromJsonObj(*member, seconds)) return false;
	const std::time_t t = static_cast<std::time_t>(seconds);
	std::tm tm{};
	if (gmtime_r(&t, &tm) == nullptr) return false;
	StoreTime(tm, out);
	return true;
}

bool ReadDateFromJsonObj(const JsonValue& value, const char* name, GSDateRecord& out, const char* format)
{
	const JsonValue* member = Member(value, name);
	return member != nullptr && ReadDateText(*member, out, format);
}

} // namespace kivel::RapidJsonParsers
