// Typed readers of RapidJSON values. Each reader comes in two forms:
// - member form (value, name, output): value must be an object with a member of that name;
// - value form (value, output): the value itself.
// Both answer true when the output was written. On false the output is untouched (except a
// GUID, which is cleared). Refusals are silent, except GUID and date texts that do not parse.
#ifndef KIVEL_RAPIDJSONPARSERS_HPP
#define KIVEL_RAPIDJSONPARSERS_HPP

#include <string>

#include <rapidjson/document.h>

#include "ACAPinc.h"
#include "GSTime.hpp"

namespace kivel::RapidJsonParsers {

using JsonValue = rapidjson::GenericValue<rapidjson::UTF8<>, rapidjson::MemoryPoolAllocator<>>;

// true or false.
bool ReadBoolFromJsonObj(const JsonValue& value, const char* name, bool& out);
bool ReadBoolFromJsonObj(const JsonValue& value, bool& out);
// An integer from -32768 to 32767.
bool ReadShortFromJsonObj(const JsonValue& value, const char* name, short& out);
bool ReadShortFromJsonObj(const JsonValue& value, short& out);
// An integer that fits signed 32 bits.
bool ReadIntFromJsonObj(const JsonValue& value, const char* name, int& out);
bool ReadIntFromJsonObj(const JsonValue& value, int& out);
// An integer that fits unsigned 32 bits.
bool ReadUIntFromJsonObj(const JsonValue& value, const char* name, unsigned int& out);
bool ReadUIntFromJsonObj(const JsonValue& value, unsigned int& out);
// An integer that fits signed 32 bits (larger ones are refused).
bool ReadLongFromJsonObj(const JsonValue& value, const char* name, long long& out);
bool ReadLongFromJsonObj(const JsonValue& value, long long& out);
// An integer from 0 to 65535.
bool ReadUShortFromJsonObj(const JsonValue& value, const char* name, unsigned short& out);
bool ReadUShortFromJsonObj(const JsonValue& value, unsigned short& out);
// A number held as a double: written with a fraction or an exponent, or an integer too large
// for 64 bits. An integer literal such as 3 is refused.
bool ReadDoubleFromJsonObj(const JsonValue& value, const char* name, double& out);
bool ReadDoubleFromJsonObj(const JsonValue& value, double& out);
// A string, decoded as UTF-8 (host text) or as its bytes up to the first zero byte.
bool ReadStringFromJsonObj(const JsonValue& value, const char* name, GS::UniString& out);
bool ReadStringFromJsonObj(const JsonValue& value, GS::UniString& out);
bool ReadStringFromJsonObj(const JsonValue& value, const char* name, std::string& out);
bool ReadStringFromJsonObj(const JsonValue& value, std::string& out);
// A string holding a GUID. When it does not parse: false, reported, out all zero.
bool ReadGuidFromJsonObj(const JsonValue& value, const char* name, API_Guid& out);
bool ReadGuidFromJsonObj(const JsonValue& value, API_Guid& out);
// A string parsed with the format (std::get_time), or (member form only) an integer that fits
// signed 32 bits, taken as seconds since 1970-01-01 00:00 UTC. The value form's format is
// "%Y-%m-%d %H:%M:%S". Day of the week and milliseconds are not set. A text that does not
// parse is reported.
bool ReadDateTimeFromJsonObj(const JsonValue& value, const char* name, GSTimeRecord& out, const char* format);
bool ReadDateTimeFromJsonObj(const JsonValue& value, GSTimeRecord& out);
// A string parsed with the format; the value form's is "%Y-%m-%d". Day of the week is not set.
bool ReadDateFromJsonObj(const JsonValue& value, const char* name, GSDateRecord& out, const char* format);
bool ReadDateFromJsonObj(const JsonValue& value, GSDateRecord& out);

} // namespace kivel::RapidJsonParsers

#endif
