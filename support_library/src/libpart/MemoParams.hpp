// Reading and writing library-part parameter values, on one record or by name in an
// element memo's parameter list. Every call checks the record's kind first and answers
// false (changing nothing) instead of writing or reading a value of the wrong kind.
//
// Kinds: text is type 12; boolean 5 and 13; numeric the types below 18 in mask 0x32FFE;
// integer those in 0x32FA2; an array has both dimensions above 0. Arrays are stored as a
// handle of dim1 * dim2 doubles row by row, or for texts every cell's UTF-16 units and a
// terminator, cell after cell. A one-dimensional array has dim2 == 1.
#ifndef KIVEL_MEMOPARAMS_HPP
#define KIVEL_MEMOPARAMS_HPP

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ACAPinc.h"

namespace kivel {
namespace MP {

// Type tests (type code only; IsArrayParam by the dimensions only).
bool IsStringParam(const API_AddParType& rec);
bool IsNumericParam(const API_AddParType& rec);
bool IsIntegerParam(const API_AddParType& rec);
bool IsBooleanParam(const API_AddParType& rec);
bool IsArrayParam(const API_AddParType& rec);

// Scalar setters: refuse an array modifier; the number forms refuse text, the text forms
// anything but text. A text is cut to the field (255 UTF-16 units, never inside a
// surrogate pair); std::string is read in the host's default 8-bit code.
bool SetDoubleParam(API_AddParType& rec, double value);
bool SetIntegerParam(API_AddParType& rec, int value);
bool SetBooleanParam(API_AddParType& rec, bool value);
bool SetStringParam(API_AddParType& rec, const GS::UniString& value);
bool SetStringParam(API_AddParType& rec, const std::string& value);

// Array setters: refuse a modifier other than 2, the wrong kind, empty input, rows of
// different length, or a handle the host cannot give; then the record is unchanged.
// Otherwise the old value handle is released and a new one stored with the dimensions
// (rows, columns), or (length, 1) for a plain list. std::string cells are UTF-8.
bool SetDoubleParamArray(API_AddParType& rec, const GS::Array<double>& values);
bool SetDoubleParamArray(API_AddParType& rec, const GS::Array<GS::Array<double>>& rows);
bool SetDoubleParamArray(API_AddParType& rec, const std::vector<std::vector<double>>& rows);
bool SetIntegerParamArray(API_AddParType& rec, const GS::Array<int>& values);
bool SetIntegerParamArray(API_AddParType& rec, const GS::Array<GS::Array<int>>& rows);
bool SetIntegerParamArray(API_AddParType& rec, const std::vector<std::vector<int>>& rows);
bool SetBooleanParamArray(API_AddParType& rec, const GS::Array<bool>& values);
bool SetBooleanParamArray(API_AddParType& rec, const GS::Array<GS::Array<bool>>& rows);
bool SetBooleanParamArray(API_AddParType& rec, const std::vector<std::vector<bool>>& rows);
bool SetStringParamArray(API_AddParType& rec, const GS::Array<GS::UniString>& values);
bool SetStringParamArray(API_AddParType& rec, const GS::Array<GS::Array<GS::UniString>>& rows);
bool SetStringParamArray(API_AddParType& rec, const std::vector<std::vector<std::string>>& rows);

// Scalar getters: accept their kind and no array. An integer is the value truncated toward
// zero and refused outside the int range; a boolean is true within 0.001 of 1.0.
bool GetDoubleParam(const API_AddParType& rec, double& value);
bool GetIntegerParam(const API_AddParType& rec, int& value);
bool GetBoolParam(const API_AddParType& rec, bool& value);
bool GetStringParam(const API_AddParType& rec, GS::UniString& value);
bool GetStringParam(const API_AddParType& rec, std::string& value);

// Array getters: accept their kind and an array whose handle holds what its dimensions
// say. The plain-list forms refuse a two-dimensional array and append the values; the row
// forms clear the output first, then give one row per first-dimension entry.
bool GetDoubleParamArray(const API_AddParType& rec, GS::Array<double>& values);
bool GetDoubleParamArray(const API_AddParType& rec, GS::Array<GS::Array<double>>& rows);
bool GetDoubleParamArray(const API_AddParType& rec, std::vector<std::vector<double>>& rows);
bool GetIntegerParamArray(const API_AddParType& rec, GS::Array<int>& values);
bool GetIntegerParamArray(const API_AddParType& rec, GS::Array<GS::Array<int>>& rows);
bool GetIntegerParamArray(const API_AddParType& rec, std::vector<std::vector<int>>& rows);
bool GetBooleanParamArray(const API_AddParType& rec, GS::Array<bool>& values);
bool GetBooleanParamArray(const API_AddParType& rec, GS::Array<GS::Array<bool>>& rows);
bool GetBooleanParamArray(const API_AddParType& rec, std::vector<std::vector<bool>>& rows);
bool GetStringParamArray(const API_AddParType& rec, GS::Array<GS::UniString>& values);
bool GetStringParamArray(const API_AddParType& rec, GS::Array<GS::Array<GS::UniString>>& rows);
bool GetStringParamArray(const API_AddParType& rec, std::vector<std::vector<std::string>>& rows);

// The packed size of texts: the sum of (cell length + 1) in UTF-16 units; 0 for none.
USize StringVectorLength(const GS::Array<GS::UniString>& values);
USize StringVectorLength(const GS::Array<GS::Array<GS::UniString>>& rows);
USize StringVectorLength(const std::vector<std::vector<std::string>>& rows);

// Runs command as one undoable host step named name; answers the host's code of that call
// (the command's own result is the step's result). A command that throws is reported once
// ("kivel::MP::ContextSensitive_Command# Internal error: <what>") and fails the step with
// APIERR_GENERAL, so the host rolls it back.
GSErrCode ContextSensitive_Command(const GS::UniString& name, const std::function<int()>& command);

// The first `count` records of a parameter list (fewer when the handle is smaller); the
// position of the first whose name equals `name` exactly, or -1.
int FindParam(API_AddParType** params, const char* name, int count);

// Memo forms, over any memo record with a `params` parameter handle.

// Copies the first record among the first count whose name equals name into out.
template <typename Memo>
bool GetParam(const Memo& memo, API_AddParType& out, const char* name, int count)
{
	const int at = FindParam(memo.params, name, count);
	if (at < 0) return false;
	out = (*memo.params)[at];
	return true;
}

// Overwrites that record whole with in.
template <typename Memo>
bool SetParam(Memo& memo, const API_AddParType& in, const char* name, int count)
{
	const int at = FindParam(memo.params, name, count);
	if (at < 0) return false;
	(*memo.params)[at] = in;
	return true;
}

namespace detail {

// Runs a record setter on a copy and writes it back only when it wrote.
template <typename Memo, typename Set>
bool SetOnMemo(Memo& memo, const char* name, int count, Set set)
{
	API_AddParType rec;
	BNZeroMemory(&rec, sizeof rec);
	return GetParam(memo, rec, name, count) && set(rec) && SetParam(memo, rec, name, count);
}

template <typename Memo, typename Out, typename Get>
bool GetFromMemo(const Memo& memo, const char* name, int count, Out& out, Get get)
{
	API_AddParType rec;
	BNZeroMemory(&rec, sizeof rec);
	return GetParam(memo, rec, name, count) && get(rec, out);
}

} // namespace detail

#define KIVEL_MP_MEMO_SETTER(Fn) \
	template <typename Memo, typename T> \
	bool Fn(Memo& memo, const char* name, int count, const T& value) \
	{ \
		return detail::SetOnMemo(memo, name, count, [&value](API_AddParType& r) { return Fn(r, value); }); \
	}
#define KIVEL_MP_MEMO_GETTER(Fn, clearFirst) \
	template <typename Memo, typename T> \
	bool Fn(const Memo& memo, const char* name, int count, T& out) \
	{ \
		if (clearFirst) out = T(); \
		return detail::GetFromMemo(memo, name, count, out, [](const API_AddParType& r, T& o) { return Fn(r, o); }); \
	}

KIVEL_MP_MEMO_SETTER(SetDoubleParam)
KIVEL_MP_MEMO_SETTER(SetIntegerParam)
KIVEL_MP_MEMO_SETTER(SetBooleanParam)
KIVEL_MP_MEMO_SETTER(SetStringParam)
KIVEL_MP_MEMO_SETTER(SetDoubleParamArray)
KIVEL_MP_MEMO_SETTER(SetIntegerParamArray)
KIVEL_MP_MEMO_SETTER(SetBooleanParamArray)
KIVEL_MP_MEMO_SETTER(SetStringParamArray)
KIVEL_MP_MEMO_GETTER(GetDoubleParam, false)
KIVEL_MP_MEMO_GETTER(GetIntegerParam, false)
KIVEL_MP_MEMO_GETTER(GetBoolParam, false)
KIVEL_MP_MEMO_GETTER(GetStringParam, false)
KIVEL_MP_MEMO_GETTER(GetDoubleParamArray, true)
KIVEL_MP_MEMO_GETTER(GetIntegerParamArray, true)
KIVEL_MP_MEMO_GETTER(GetBooleanParamArray, true)
KIVEL_MP_MEMO_GETTER(GetStringParamArray, true)

#undef KIVEL_MP_MEMO_SETTER
#undef KIVEL_MP_MEMO_GETTER

} // namespace MP
} // namespace kivel

#endif
