#include "libpart/MemoParams.hpp"
#include "utils/CatchAll.hpp"
#include "utils/TextUnits.hpp"

#include <climits>
#include <cmath>
#include <cstring>

namespace kivel {
namespace MP {

namespace {

constexpr UInt32 kNumericMask = 0x32FFE;
constexpr UInt32 kIntegerMask = 0x32FA2;
constexpr USize kTextField = API_UniLongNameLen - 1; // units before the terminator

bool InMask(const API_AddParType& rec, UInt32 mask)
{
	return rec.typeID >= 0 && rec.typeID < 18 && ((mask >> rec.typeID) & 1u) != 0;
}

bool IsScalar(const API_AddParType& rec) { return rec.typeMod == API_ParSimple && !IsArrayParam(rec); }

// A table flattened row by row, with its shape; false for empty input or ragged rows.
struct Table {
	std::vector<double> numbers;
	std::vector<std::u16string> texts;
	Int32 rows = 0;
	Int32 cols = 0;
};

template <typename T>
std::size_t SizeOf(const GS::Array<T>& a) { return a.GetSize(); }
template <typename T>
std::size_t SizeOf(const std::vector<T>& v) { return v.size(); }

template <typename Rows, typename Put>
bool Flatten(const Rows& rows, Table& t, Put put)
{
	if (SizeOf(rows) == 0 || SizeOf(rows) > static_cast<std::size_t>(INT_MAX)) return false;
	const std::size_t cols = SizeOf(*rows.begin());
	for (const auto& row : rows)
		if (SizeOf(row) != cols || cols == 0 || cols > static_cast<std::size_t>(INT_MAX)) return false;
	for (const auto& row : rows)
		for (const auto& cell : row) put(cell);
	t.rows = static_cast<Int32>(SizeOf(rows));
	t.cols = static_cast<Int32>(cols);
	return true;
}

template <typename List, typename Put>
bool FlattenList(const List& values, Table& t, Put put)
{
	if (SizeOf(values) == 0 || SizeOf(values) > static_cast<std::size_t>(INT_MAX)) return false;
	for (const auto& v : values) put(v);
	t.rows = static_cast<Int32>(SizeOf(values));
	t.cols = 1;
	return true;
}

// Stores a new value handle; the old one goes only once the new one exists.
bool Store(API_AddParType& rec, const Table& t, bool text)
{
	std::size_t bytes = t.numbers.size() * sizeof(double);
	if (text) {
		bytes = 0;
		for (const auto& s : t.texts) bytes += (s.size() + 1) * sizeof(GS::UniChar);
	}
	if (bytes > static_cast<std::size_t>(INT_MAX)) return false;
	GSHandle h = BMAllocateHandle(static_cast<Int32>(bytes), ALLOCATE_CLEAR, 0);
	if (h == nullptr) return false;
	if (text) {
		auto* p = reinterpret_cast<GS::UniChar*>(*h);
		for (const auto& s : t.texts) { std::copy(s.begin(), s.end(), p); p += s.size() + 1; }
	} else if (!t.numbers.empty()) {
		std::memcpy(*h, t.numbers.data(), bytes);
	}
	if (rec.value.array != nullptr) BMKillHandle(&rec.value.array);
	rec.dim1 = t.rows;
	rec.dim2 = t.cols;
	rec.value.array = h;
	return true;
}

bool NumberArrayKind(const API_AddParType& rec) { return rec.typeMod == API_ParArray && !IsStringParam(rec); }
bool TextArrayKind(const API_AddParType& rec) { return rec.typeMod == API_ParArray && IsStringParam(rec); }

template <typename Src>
bool SetNumbers(API_AddParType& rec, const Src& src)
{
	if (!NumberArrayKind(rec)) return false;
	Table t;
	auto put = [&t](auto v) { t.numbers.push_back(static_cast<double>(v)); };
	if constexpr (std::is_same_v<typename Src::value_type, bool> || std::is_arithmetic_v<typename Src::value_type>) {
		if (!FlattenList(src, t, put)) return false;
	} else {
		if (!Flatten(src, t, put)) return false;
	}
	return Store(rec, t, false);
}

std::u16string Units(const GS::UniString& s) { return UnitsOf(s); }
std::u16string Units(const std::string& s)
{
	std::u16string units;
	Utf8ToUtf16(s, units);
	return units;
}

template <typename Src>
bool SetTexts(API_AddParType& rec, const Src& src)
{
	if (!TextArrayKind(rec)) return false;
	Table t;
	auto put = [&t](const auto& s) { t.texts.push_back(Units(s)); };
	bool ok = false;
	if constexpr (std::is_same_v<typename Src::value_type, GS::UniString>) ok = FlattenList(src, t, put);
	else ok = Flatten(src, t, put);
	return ok && Store(rec, t, true);
}

// The values of a number array, when its handle holds them all.
bool ReadNumbers(const API_AddParType& rec, std::vector<double>& out)
{
	if (rec.typeMod != API_ParArray || !IsArrayParam(rec) || rec.value.array == nullptr) return false;
	const auto cells = static_cast<std::size_t>(rec.dim1) * static_cast<std::size_t>(rec.dim2);
	if (static_cast<std::size_t>(BMGetHandleSize(rec.value.array)) / sizeof(double) < cells) return false;
	const auto* d = reinterpret_cast<const double*>(*rec.value.array);
	out.assign(d, d + cells);
	return true;
}

bool ReadTexts(const API_AddParType& rec, std::vector<std::u16string>& out)
{
	out.clear();
	if (!IsStringParam(rec) || rec.typeMod != API_ParArray || !IsArrayParam(rec) || rec.value.array == nullptr) return false;
	const auto cells = static_cast<std::size_t>(rec.dim1) * static_cast<std::size_t>(rec.dim2);
	const auto units = static_cast<std::size_t>(BMGetHandleSize(rec.value.array)) / sizeof(GS::UniChar);
	const auto* p = reinterpret_cast<const GS::UniChar*>(*rec.value.array);
	std::size_t at = 0;
	for (std::size_t c = 0; c < cells; ++c) {
		const GS::UniChar* end = std::find(p + at, p + units, u'\0');
		if (end == p + units) return false;
		out.emplace_back(p + at, end);
		at = static_cast<std::size_t>(end - p) + 1;
	}
	return true;
}

bool ToInt(double v, int& out)
{
	const double t = std::trunc(v);
	if (!(t >= static_cast<double>(INT_MIN) && t <= static_cast<double>(INT_MAX))) return false;
	out = static_cast<int>(t);
	return true;
}

bool ToBool(double v) { return std::fabs(v - 1.0) < 0.001; }

// Converts every value (all or nothing) into the cell type.
template <typename T>
bool Convert(const std::vector<double>& in, std::vector<T>& out)
{
	out.clear();
	for (double v : in) {
		if constexpr (std::is_same_v<T, int>) {
			int i = 0;
			if (!ToInt(v, i)) return false;
			out.push_back(i);
		} else if constexpr (std::is_same_v<T, bool>) {
			out.push_back(ToBool(v));
		} else {
			out.push_back(v);
		}
	}
	return true;
}

template <typename T>
bool CellsOf(const API_AddParType& rec, bool (*kind)(const API_AddParType&), std::vector<T>& cells)
{
	std::vector<double> raw;
	return kind(rec) && ReadNumbers(rec, raw) && Convert(raw, cells);
}

template <typename T, typename Cell>
bool AppendList(const std::vector<Cell>& cells, const API_AddParType& rec, GS::Array<T>& out)
{
	if (rec.dim2 != 1) return false; // a table is not a list
	for (const auto& c : cells) out.Push(c);
	return true;
}

template <typename Rows, typename Cell, typename Make>
void FillRows(const std::vector<Cell>& cells, const API_AddParType& rec, Rows& out, Make make)
{
	out = Rows();
	for (Int32 r = 0; r < rec.dim1; ++r) {
		typename Rows::value_type row;
		for (Int32 c = 0; c < rec.dim2; ++c) row.push_back(make(cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(rec.dim2) + static_cast<std::size_t>(c)]));
		out.push_back(row);
	}
}

template <typename T, typename Cell, typename Make>
void FillRows(const std::vector<Cell>& cells, const API_AddParType& rec, GS::Array<GS::Array<T>>& out, Make make)
{
	out.Clear();
	for (Int32 r = 0; r < rec.dim1; ++r) {
		GS::Array<T> row;
		for (Int32 c = 0; c < rec.dim2; ++c) row.Push(make(cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(rec.dim2) + static_cast<std::size_t>(c)]));
		out.Push(row);
	}
}

// The row forms start from an empty output, also when the record is refused.
template <typename Out>
constexpr bool kIsList = false;
template <typename T>
constexpr bool kIsList<GS::Array<T>> = true;
template <typename T>
constexpr bool kIsList<GS::Array<GS::Array<T>>> = false;

template <typename Out>
void ClearRows(Out& out)
{
	if constexpr (!kIsList<Out>) out = Out(); // a plain list appends
}

template <typename T, typename Out>
bool GetNumbers(const API_AddParType& rec, bool (*kind)(const API_AddParType&), Out& out)
{
	ClearRows(out);
	std::vector<T> cells;
	if (!CellsOf(rec, kind, cells)) return false;
	if constexpr (std::is_same_v<Out, GS::Array<T>>) {
		return AppendList(cells, rec, out);
	} else {
		FillRows(cells, rec, out, [](T v) { return v; });
		return true;
	}
}

template <typename Out>
bool GetTexts(const API_AddParType& rec, Out& out)
{
	ClearRows(out);
	std::vector<std::u16string> cells;
	if (!ReadTexts(rec, cells)) return false;
	if constexpr (std::is_same_v<Out, GS::Array<GS::UniString>>) {
		if (rec.dim2 != 1) return false;
		for (const auto& c : cells) out.Push(TextOfUnits(c));
	} else if constexpr (std::is_same_v<Out, GS::Array<GS::Array<GS::UniString>>>) {
		FillRows(cells, rec, out, [](const std::u16string& c) { return TextOfUnits(c); });
	} else {
		FillRows(cells, rec, out, [](const std::u16string& c) { return Utf16ToUtf8(c); });
	}
	return true;
}

bool ScalarNumber(const API_AddParType& rec, bool (*kind)(const API_AddParType&), double& v)
{
	if (!kind(rec) || !IsScalar(rec)) return false;
	v = rec.value.real;
	return true;
}

bool SetScalar(API_AddParType& rec, double v)
{
	if (rec.typeMod != API_ParSimple || IsStringParam(rec)) return false;
	rec.value.real = v;
	return true;
}

} // namespace

bool IsStringParam(const API_AddParType& rec) { return rec.typeID == APIParT_CString; }
bool IsNumericParam(const API_AddParType& rec) { return InMask(rec, kNumericMask); }
bool IsIntegerParam(const API_AddParType& rec) { return InMask(rec, kIntegerMask); }
bool IsBooleanParam(const API_AddParType& rec) { return rec.typeID == APIParT_LightSw || rec.typeID == APIParT_Boolean; }
bool IsArrayParam(const API_AddParType& rec) { return rec.dim1 > 0 && rec.dim2 > 0; }

bool SetDoubleParam(API_AddParType& rec, double value) { return SetScalar(rec, value); }
bool SetIntegerParam(API_AddParType& rec, int value) { return SetScalar(rec, value); }
bool SetBooleanParam(API_AddParType& rec, bool value) { return SetScalar(rec, value ? 1.0 : 0.0); }

bool SetStringParam(API_AddParType& rec, const GS::UniString& value)
{
	if (rec.typeMod != API_ParSimple || !IsStringParam(rec)) return false;
	const std::u16string u = UnitsOf(value);
	USize n = std::min(u.size(), kTextField);
	if (n < u.size() && n > 0 && u[n - 1] >= 0xD800 && u[n - 1] <= 0xDBFF) --n; // keep a pair whole
	std::copy(u.begin(), u.begin() + static_cast<std::ptrdiff_t>(n), rec.value.uStr);
	rec.value.uStr[n] = 0;
	return true;
}

bool SetStringParam(API_AddParType& rec, const std::string& value) { return SetStringParam(rec, GS::UniString(value, GS::CC_Default)); }

bool SetDoubleParamArray(API_AddParType& rec, const GS::Array<double>& values) { return SetNumbers(rec, values); }
bool SetDoubleParamArray(API_AddParType& rec, const GS::Array<GS::Array<double>>& rows) { return SetNumbers(rec, rows); }
bool SetDoubleParamArray(API_AddParType& rec, const std::vector<std::vector<double>>& rows) { return SetNumbers(rec, rows); }
bool SetIntegerParamArray(API_AddParType& rec, const GS::Array<int>& values) { return SetNumbers(rec, values); }
bool SetIntegerParamArray(API_AddParType& rec, const GS::Array<GS::Array<int>>& rows) { return SetNumbers(rec, rows); }
bool SetIntegerParamArray(API_AddParType& rec, const std::vector<std::vector<int>>& rows) { return SetNumbers(rec, rows); }
bool SetBooleanParamArray(API_AddParType& rec, const GS::Array<bool>& values) { return SetNumbers(rec, values); }
bool SetBooleanParamArray(API_AddParType& rec, const GS::Array<GS::Array<bool>>& rows) { return SetNumbers(rec, rows); }
bool SetBooleanParamArray(API_AddParType& rec, const std::vector<std::vector<bool>>& rows) { return SetNumbers(rec, rows); }
bool SetStringParamArray(API_AddParType& rec, const GS::Array<GS::UniString>& values) { return SetTexts(rec, values); }
bool SetStringParamArray(API_AddParType& rec, const GS::Array<GS::Array<GS::UniString>>& rows) { return SetTexts(rec, rows); }
bool SetStringParamArray(API_AddParType& rec, const std::vector<std::vector<std::string>>& rows) { return SetTexts(rec, rows); }

bool GetDoubleParam(const API_AddParType& rec, double& value) { return ScalarNumber(rec, IsNumericParam, value); }

bool GetIntegerParam(const API_AddParType& rec, int& value)
{
	double v = 0.0;
	return ScalarNumber(rec, IsIntegerParam, v) && ToInt(v, value);
}

bool GetBoolParam(const API_AddParType& rec, bool& value)
{
	double v = 0.0;
	if (!ScalarNumber(rec, IsBooleanParam, v)) return false;
	value = ToBool(v);
	return true;
}

bool GetStringParam(const API_AddParType& rec, GS::UniString& value)
{
	if (!IsStringParam(rec) || !IsScalar(rec)) return false;
	const GS::UniChar* end = std::find(rec.value.uStr, rec.value.uStr + kTextField, u'\0');
	value = GS::UniString(rec.value.uStr, static_cast<USize>(end - rec.value.uStr));
	return true;
}

bool GetStringParam(const API_AddParType& rec, std::string& value)
{
	GS::UniString text;
	if (!GetStringParam(rec, text)) return false;
	value = ToUtf8(text);
	return true;
}

bool GetDoubleParamArray(const API_AddParType& rec, GS::Array<double>& values) { return GetNumbers<double>(rec, IsNumericParam, values); }
bool GetDoubleParamArray(const API_AddParType& rec, GS::Array<GS::Array<double>>& rows) { return GetNumbers<double>(rec, IsNumericParam, rows); }
bool GetDoubleParamArray(const API_AddParType& rec, std::vector<std::vector<double>>& rows) { return GetNumbers<double>(rec, IsNumericParam, rows); }
bool GetIntegerParamArray(const API_AddParType& rec, GS::Array<int>& values) { return GetNumbers<int>(rec, IsIntegerParam, values); }
bool GetIntegerParamArray(const API_AddParType& rec, GS::Array<GS::Array<int>>& rows) { return GetNumbers<int>(rec, IsIntegerParam, rows); }
bool GetIntegerParamArray(const API_AddParType& rec, std::vector<std::vector<int>>& rows) { return GetNumbers<int>(rec, IsIntegerParam, rows); }
bool GetBooleanParamArray(const API_AddParType& rec, GS::Array<bool>& values) { return GetNumbers<bool>(rec, IsBooleanParam, values); }
bool GetBooleanParamArray(const API_AddParType& rec, GS::Array<GS::Array<bool>>& rows) { return GetNumbers<bool>(rec, IsBooleanParam, rows); }
bool GetBooleanParamArray(const API_AddParType& rec, std::vector<std::vector<bool>>& rows) { return GetNumbers<bool>(rec, IsBooleanParam, rows); }
bool GetStringParamArray(const API_AddParType& rec, GS::Array<GS::UniString>& values) { return GetTexts(rec, values); }
bool GetStringParamArray(const API_AddParType& rec, GS::Array<GS::Array<GS::UniString>>& rows) { return GetTexts(rec, rows); }
bool GetStringParamArray(const API_AddParType& rec, std::vector<std::vector<std::string>>& rows) { return GetTexts(rec, rows); }

USize StringVectorLength(const GS::Array<GS::UniString>& values)
{
	USize n = 0;
	for (const auto& s : values) n += s.GetLength() + 1;
	return n;
}

USize StringVectorLength(const GS::Array<GS::Array<GS::UniString>>& rows)
{
	USize n = 0;
	for (const auto& row : rows) n += StringVectorLength(row);
	return n;
}

USize StringVectorLength(const std::vector<std::vector<std::string>>& rows)
{
	USize n = 0;
	for (const auto& row : rows)
		for (const auto& s : row) n += Units(s).size() + 1;
	return n;
}

GSErrCode ContextSensitive_Command(const GS::UniString& name, const std::function<int()>& command)
{
	// The host calls the step: what the command throws stays on this side.
	return ACAPI_CallUndoableCommand(name, [&command]() -> GSErrCode {
		return CatchAll("kivel::MP::ContextSensitive_Command# ", GSErrCode(APIERR_GENERAL),
			[&command] { return command ? GSErrCode(command()) : GSErrCode(APIERR_BADPARS); });
	});
}

int FindParam(API_AddParType** params, const char* name, int count)
{
	if (count < 1 || params == nullptr || name == nullptr) return -1;
	const auto held = static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(params))) / sizeof(API_AddParType);
	const std::size_t n = std::min(static_cast<std::size_t>(count), held);
	for (std::size_t i = 0; i < n; ++i) {
		const char* recName = (*params)[i].name;
		if (std::strncmp(recName, name, API_NameLen) == 0 && std::memchr(recName, 0, API_NameLen) != nullptr) return static_cast<int>(i);
	}
	return -1;
}

} // namespace MP
} // namespace kivel
