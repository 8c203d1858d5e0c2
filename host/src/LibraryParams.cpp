// The parameter section: records <-> JSON bytes, and the parameter calls over it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "ACAPinc.h"
#include "vhost/LibraryStore.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "vhost/Unset.hpp"

namespace vhost {

namespace {

using json = nlohmann::ordered_json;

constexpr Int64 kMaxCells = 1 << 24;

bool IsText(const API_AddParType& r) { return r.typeID == APIParT_CString; }

// Text as a JSON string when UTF-8 carries it exactly, else as its UTF-16 units.
json TextJson(const std::u16string& units)
{
	std::u16string back;
	const std::string utf8 = vhost::Utf16ToUtf8(units);
	vhost::Utf8ToUtf16(utf8.data(), utf8.size(), back);
	if (back == units) return utf8;
	json a = json::array();
	for (char16_t u : units) a.push_back(static_cast<unsigned>(u));
	return a;
}

bool TextFromJson(const json& j, std::u16string& out)
{
	out.clear();
	if (j.is_string()) {
		const std::string& s = j.get_ref<const std::string&>();
		return vhost::Utf8ToUtf16(s.data(), s.size(), out);
	}
	if (!j.is_array()) return false;
	for (const auto& u : j) {
		if (!u.is_number_unsigned() || u.get<unsigned>() > 0xFFFF) return false;
		out += static_cast<char16_t>(u.get<unsigned>());
	}
	return true;
}

// A number as JSON: finite values as numbers; infinities and NaN (which JSON has not) as
// "Infinity", "-Infinity" and "NaN:" with the value's bits, so each reads back exactly.
json NumberJson(double v)
{
	if (std::isfinite(v)) return v;
	if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
	std::uint64_t bits = 0;
	std::memcpy(&bits, &v, sizeof bits);
	char text[32];
	std::snprintf(text, sizeof text, "NaN:%016llX", static_cast<unsigned long long>(bits));
	return text;
}

bool NumberFromJson(const json& j, double& v)
{
	if (j.is_number()) { v = j.get<double>(); return true; }
	if (!j.is_string()) return false;
	const std::string& s = j.get_ref<const std::string&>();
	if (s == "Infinity" || s == "-Infinity") { v = s[0] == '-' ? -HUGE_VAL : HUGE_VAL; return true; }
	unsigned long long bits = 0;
	char end = 0;
	if (s.size() != 20 || std::sscanf(s.c_str(), "NaN:%16llX%c", &bits, &end) != 1) return false;
	std::memcpy(&v, &bits, sizeof v);
	return std::isnan(v);
}

bool FixedText(const GS::UniChar* field, std::u16string& out)
{
	const GS::UniChar* end = std::find(field, field + API_UniLongNameLen, u'\0');
	if (end == field + API_UniLongNameLen) return false;
	out.assign(field, end);
	return true;
}

bool PutFixed(GS::UniChar* field, const std::u16string& text)
{
	if (text.size() >= static_cast<std::size_t>(API_UniLongNameLen)) return false;
	std::copy(text.begin(), text.end(), field);
	field[text.size()] = 0;
	return true;
}

// The cells of a text array; false when the handle does not hold dim1 * dim2 of them.
bool TextCells(const API_AddParType& r, Int64 cells, std::vector<std::u16string>& out)
{
	out.clear();
	if (r.value.array == nullptr) return false;
	const auto units = static_cast<std::size_t>(BMGetHandleSize(r.value.array)) / sizeof(GS::UniChar);
	const auto* p = reinterpret_cast<const GS::UniChar*>(*r.value.array);
	std::size_t at = 0;
	for (Int64 c = 0; c < cells; ++c) {
		const GS::UniChar* end = std::find(p + at, p + units, u'\0');
		if (end == p + units) return false;
		out.emplace_back(p + at, end);
		at = static_cast<std::size_t>(end - p) + 1;
	}
	return true;
}

bool RecordJson(const API_AddParType& r, json& j, std::string& why)
{
	const char* nameEnd = std::find(r.name, r.name + API_NameLen, '\0');
	std::u16string desc, text;
	if (nameEnd == r.name + API_NameLen) { why = "a name has no terminator"; return false; }
	const std::string name(r.name, nameEnd);
	auto fail = [&](const char* what) { why = "parameter '" + name + "': " + what; return false; };
	if (!FixedText(r.uDescname, desc)) return fail("description has no terminator");
	if (r.typeID < APIParT_Integer || r.typeID > APIParT_Profile) return fail("unknown type");
	j = {{"name", name}, {"type", static_cast<int>(r.typeID)}, {"flags", r.flags}, {"description", TextJson(desc)}};
	if (r.typeMod == API_ParSimple) {
		if (!IsText(r)) { j["value"] = NumberJson(r.value.real); return true; }
		if (!FixedText(r.value.uStr, text)) return fail("text value has no terminator");
		j["value"] = TextJson(text);
		return true;
	}
	if (r.typeMod != API_ParArray) return fail("unknown type modifier");
	const Int64 cells = static_cast<Int64>(r.dim1) * r.dim2;
	if (r.dim1 < 1 || r.dim2 < 1 || cells > kMaxCells) return fail("bad array dimensions");
	j["dim1"] = r.dim1;
	j["dim2"] = r.dim2;
	json values = json::array();
	if (IsText(r)) {
		std::vector<std::u16string> texts;
		if (!TextCells(r, cells, texts)) return fail("text array shorter than its dimensions");
		for (const auto& t : texts) values.push_back(TextJson(t));
	} else {
		if (r.value.array == nullptr || BMGetHandleSize(r.value.array) < cells * static_cast<Int64>(sizeof(double)))
			return fail("number array shorter than its dimensions");
		const auto* d = reinterpret_cast<const double*>(*r.value.array);
		for (Int64 c = 0; c < cells; ++c) values.push_back(NumberJson(d[c]));
	}
	j["values"] = values;
	return true;
}

bool ArrayFromJson(const json& values, API_AddParType& r, std::string& why)
{
	const Int64 cells = static_cast<Int64>(r.dim1) * r.dim2;
	if (!values.is_array() || static_cast<Int64>(values.size()) != cells) { why = "values do not match the dimensions"; return false; }
	std::vector<std::u16string> texts;
	std::size_t bytes = 0;
	if (IsText(r)) {
		for (const auto& v : values) {
			texts.emplace_back();
			if (!TextFromJson(v, texts.back())) { why = "bad text cell"; return false; }
			bytes += (texts.back().size() + 1) * sizeof(GS::UniChar);
		}
	} else {
		double number = 0;
		for (const auto& v : values)
			if (!NumberFromJson(v, number)) { why = "bad number cell"; return false; }
		bytes = static_cast<std::size_t>(cells) * sizeof(double);
	}
	GSHandle h = BMAllocateHandle(static_cast<Int32>(bytes), ALLOCATE_CLEAR, 0);
	if (h == nullptr) { why = "out of memory"; return false; }
	if (IsText(r)) {
		auto* p = reinterpret_cast<GS::UniChar*>(*h);
		for (const auto& t : texts) { std::copy(t.begin(), t.end(), p); p += t.size() + 1; }
	} else {
		auto* d = reinterpret_cast<double*>(*h);
		for (const auto& v : values) NumberFromJson(v, *d++);
	}
	r.value.array = h;
	return true;
}

bool RecordFromJson(const json& j, API_AddParType& r, std::string& why)
{
	std::memset(&r, 0, sizeof r);
	if (!j.is_object() || !j.contains("name") || !j["name"].is_string() || !j.contains("type") || !j["type"].is_number_integer() ||
		!j.contains("flags") || !j["flags"].is_number_unsigned()) {
		why = "a parameter lacks its name, type or flags";
		return false;
	}
	const std::string& name = j["name"].get_ref<const std::string&>();
	const Int64 type = j["type"].get<Int64>();
	std::u16string desc, text;
	if (name.size() >= static_cast<std::size_t>(API_NameLen) || type < APIParT_Integer || type > APIParT_Profile) {
		why = "bad parameter name or type";
		return false;
	}
	std::memcpy(r.name, name.data(), name.size());
	r.typeID = static_cast<API_AddParID>(type);
	r.flags = j["flags"].get<UInt32>();
	if (!j.contains("description") || !TextFromJson(j["description"], desc) || !PutFixed(r.uDescname, desc)) {
		why = "parameter '" + name + "': bad description";
		return false;
	}
	if (!j.contains("values")) {
		r.typeMod = API_ParSimple;
		const bool ok = j.contains("value") && (IsText(r) ? TextFromJson(j["value"], text) && PutFixed(r.value.uStr, text)
		                                                  : NumberFromJson(j["value"], r.value.real));
		if (!ok) why = "parameter '" + name + "': bad value";
		return ok;
	}
	r.typeMod = API_ParArray;
	if (!j.contains("dim1") || !j.contains("dim2") || !j["dim1"].is_number_integer() || !j["dim2"].is_number_integer()) {
		why = "parameter '" + name + "': bad dimensions";
		return false;
	}
	const Int64 d1 = j["dim1"].get<Int64>(), d2 = j["dim2"].get<Int64>();
	if (d1 < 1 || d2 < 1 || d1 * d2 > kMaxCells) { why = "parameter '" + name + "': bad dimensions"; return false; }
	r.dim1 = static_cast<Int32>(d1);
	r.dim2 = static_cast<Int32>(d2);
	return ArrayFromJson(j["values"], r, why);
}

} // namespace

void FreeParamArrays(API_AddParType* records, std::size_t count) noexcept
{
	for (std::size_t i = 0; i < count; ++i)
		if (records[i].typeMod == API_ParArray && records[i].value.array != nullptr) BMKillHandle(&records[i].value.array);
}

void FreeParamArrays(std::vector<API_AddParType>& records) { FreeParamArrays(records.data(), records.size()); }

GSErrCode EncodeParamSection(const ParamSection& section, std::string& bytes, std::string& why)
{
	json j;
	j["A"] = NumberJson(section.a);
	j["B"] = NumberJson(section.b);
	j["details"] = {{"object", section.details.object}, {"fixSize", section.details.fixSize}, {"autoHotspot", section.details.autoHotspot}};
	j["parameters"] = json::array();
	for (const auto& r : section.records) {
		json p;
		if (!RecordJson(r, p, why)) return APIERR_BADPARS;
		j["parameters"].push_back(p);
	}
	bytes = j.dump(1, '\t') + "\n";
	return NoError;
}

GSErrCode DecodeParamSection(const std::string& bytes, ParamSection& section, std::string& why)
{
	section = ParamSection();
	const json j = json::parse(bytes, nullptr, false);
	if (j.is_discarded() || !j.is_object() || !j.contains("A") || !NumberFromJson(j["A"], section.a) || !j.contains("B") ||
		!NumberFromJson(j["B"], section.b) || !j.contains("parameters") || !j["parameters"].is_array()) {
		why = "not a parameter section";
		return APIERR_BADDATABASE;
	}
	if (j.contains("details") && j["details"].is_object()) {
		const json& d = j["details"];
		auto flag = [&d](const char* k) { return d.contains(k) && d[k].is_boolean() && d[k].get<bool>(); };
		section.details.object = flag("object");
		section.details.fixSize = flag("fixSize");
		section.details.autoHotspot = flag("autoHotspot");
	}
	for (const auto& p : j["parameters"]) {
		API_AddParType r;
		BNZeroMemory(&r, sizeof r);
		if (!RecordFromJson(p, r, why)) {
			FreeParamArrays(section.records);
			section.records.clear();
			return APIERR_BADDATABASE;
		}
		r.index = static_cast<Int32>(section.records.size());
		section.records.push_back(r);
	}
	return NoError;
}

nlohmann::ordered_json ParamSectionJson(const std::string& bytes)
{
	const json j = json::parse(bytes, nullptr, false);
	return j.is_discarded() ? json() : j;
}

nlohmann::ordered_json ParamListJson(const std::string& bytes)
{
	json j = ParamSectionJson(bytes);
	return j.is_object() && j.contains("parameters") ? std::move(j["parameters"]) : j;
}

} // namespace vhost

namespace {

// The records of a handle the add-on filled (count from its size).
std::vector<API_AddParType> RecordsOf(API_AddParType** addPars)
{
	std::vector<API_AddParType> out;
	if (addPars == nullptr) return out;
	const auto n = static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(addPars))) / sizeof(API_AddParType);
	out.assign(*addPars, *addPars + n);
	return out;
}

const std::string* ParamBytes(Int32 libInd, GSErrCode& err)
{
	const vhost::LibraryPartRecord* p = vhost::PartByIndex(libInd);
	err = p == nullptr ? APIERR_BADINDEX : APIERR_NOLIBSECT;
	if (p == nullptr) return nullptr;
	for (const auto& s : p->sections)
		if (s.type == API_SectParamDef) { err = NoError; return &s.bytes; }
	return nullptr;
}

} // namespace

namespace vhost {

// The decoded parameter sections of parts, each with the bytes it was decoded from: objects
// are placed by the thousand from one part, and decoding its text for each would make the
// stand-in, not the add-on, the cost of a placement. Arrays are kept as bytes, so the cache
// holds no handle.
struct ParamCache {
	struct Entry {
		std::string bytes;
		ParamSection section;             // array records without their handles
		std::vector<std::string> arrays;  // per record: its array's bytes, empty for a simple one
	};
	std::map<Int32, Entry> parts;
};

} // namespace vhost

namespace {

// The decoded section of part libInd, decoded again only when its bytes changed; null with
// err set when it has none or it does not decode.
const vhost::ParamCache::Entry* DecodedParams(Int32 libInd, GSErrCode& err)
{
	const std::string* bytes = ParamBytes(libInd, err);
	if (bytes == nullptr) return nullptr;
	std::shared_ptr<vhost::ParamCache>& cache = vhost::Current().paramCache;
	if (!cache) cache = std::make_shared<vhost::ParamCache>();
	const auto found = cache->parts.find(libInd);
	if (found != cache->parts.end() && found->second.bytes == *bytes) return &found->second;
	vhost::ParamCache::Entry entry;
	std::string why;
	if ((err = vhost::DecodeParamSection(*bytes, entry.section, why)) != NoError) return nullptr;
	entry.bytes = *bytes;
	for (API_AddParType& r : entry.section.records) {
		entry.arrays.emplace_back();
		if (r.typeMod != API_ParArray || r.value.array == nullptr) continue;
		entry.arrays.back().assign(*r.value.array, static_cast<std::size_t>(BMGetHandleSize(r.value.array)));
		BMKillHandle(&r.value.array);
	}
	return &(cache->parts[libInd] = std::move(entry));
}

// A copy of the cached records in a new handle, each array in a new handle of its own.
API_AddParType** CopyRecords(const vhost::ParamCache::Entry& entry)
{
	const auto n = static_cast<Int32>(entry.section.records.size());
	GSHandle h = BMAllocateHandle(n * static_cast<Int32>(sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
	if (h == nullptr) return nullptr;
	auto* records = reinterpret_cast<API_AddParType*>(*h);
	std::copy(entry.section.records.begin(), entry.section.records.end(), records);
	for (Int32 i = 0; i < n; ++i) {
		const std::string& bytes = entry.arrays[static_cast<std::size_t>(i)];
		if (records[i].typeMod != API_ParArray || bytes.empty()) continue;
		records[i].value.array = BMAllocateHandle(static_cast<Int32>(bytes.size()), 0, 0);
		if (records[i].value.array == nullptr) {
			API_AddParType** made = reinterpret_cast<API_AddParType**>(h);
			ACAPI_DisposeAddParHdl(&made);
			return nullptr;
		}
		std::memcpy(*records[i].value.array, bytes.data(), bytes.size());
	}
	return reinterpret_cast<API_AddParType**>(h);
}

} // namespace

GSErrCode ACAPI_LibraryPart_GetParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars)
{
	if (a == nullptr || b == nullptr || addParNum == nullptr || addPars == nullptr) return APIERR_BADPARS;
	GSErrCode err = NoError;
	const vhost::ParamCache::Entry* entry = DecodedParams(libInd, err);
	if (entry == nullptr) return err;
	API_AddParType** records = CopyRecords(*entry);
	if (records == nullptr) return APIERR_MEMFULL;
	*a = entry->section.a;
	*b = entry->section.b;
	*addParNum = static_cast<Int32>(entry->section.records.size());
	*addPars = records;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetDetails(Int32 libInd, API_LibPartDetails* details)
{
	if (details == nullptr) return APIERR_BADPARS;
	GSErrCode err = NoError;
	const vhost::ParamCache::Entry* entry = DecodedParams(libInd, err);
	if (entry == nullptr) return err;
	*details = entry->section.details;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** addPars, double* a, double* b, GSHandle sect2DDrawHdl, GSHandle* sectHdl, GS::UniString* password)
{
	if (libPart == nullptr || addPars == nullptr || a == nullptr || b == nullptr || sectHdl == nullptr) return APIERR_BADPARS;
	if (sect2DDrawHdl != nullptr || password != nullptr) return APIERR_NOTSUPPORTED;
	vhost::ParamSection section;
	section.a = *a;
	section.b = *b;
	section.records = RecordsOf(addPars);
	std::string bytes, why;
	if (const GSErrCode err = vhost::EncodeParamSection(section, bytes, why); err != NoError) {
		vhost::Current().debug.push_back("ACAPI_LibraryPart_GetSect_ParamDef: " + why);
		return err;
	}
	GSHandle h = BMAllocateHandle(static_cast<Int32>(bytes.size()), 0, 0);
	if (h == nullptr) return APIERR_MEMFULL;
	std::memcpy(*h, bytes.data(), bytes.size());
	*sectHdl = h;
	return NoError;
}

GSErrCode ACAPI_LibraryPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle paramHdl, const API_LibPartDetails* details)
{
	if (libPart == nullptr || paramHdl == nullptr || details == nullptr) return APIERR_BADPARS;
	static const vhost::RecordField kept[] = {VHOST_FIELD(API_LibPartDetails, object), VHOST_FIELD(API_LibPartDetails, fixSize),
		VHOST_FIELD(API_LibPartDetails, autoHotspot)};
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_LibraryPart_SetDetails_ParamDef", details, kept)) return err;
	vhost::ParamSection section;
	std::string why, bytes;
	GSErrCode err = vhost::DecodeParamSection(std::string(*paramHdl, static_cast<std::size_t>(BMGetHandleSize(paramHdl))), section, why);
	if (err != NoError) return APIERR_BADPARS;
	section.details = *details;
	err = vhost::EncodeParamSection(section, bytes, why);
	vhost::FreeParamArrays(section.records);
	if (err != NoError) return err;
	if (BMReallocHandle(paramHdl, static_cast<Int32>(bytes.size()), 0, 0) == nullptr) return APIERR_MEMFULL;
	std::memcpy(*paramHdl, bytes.data(), bytes.size());
	return NoError;
}

GSErrCode ACAPI_DisposeAddParHdl(API_AddParType*** addPars)
{
	if (addPars == nullptr || *addPars == nullptr) return NoError;
	const auto n = static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(*addPars))) / sizeof(API_AddParType);
	vhost::FreeParamArrays(**addPars, n);
	GSHandle h = reinterpret_cast<GSHandle>(*addPars);
	const GSErrCode err = BMKillHandle(&h);
	*addPars = nullptr;
	return err;
}
