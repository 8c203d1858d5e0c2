// Error names, reports, attribute deletion, fixed-size text fields and a handle of records
// filled from GUIDs.
#ifndef KIVEL_ACUTILS_HPP
#define KIVEL_ACUTILS_HPP

#include <cstring>

#include "ACAPinc.h"

namespace kivel {

// The symbolic name of a host error code: "NoError" for 0, the APIERR_ name of a known code,
// "???" for any other. A constant text; never null.
const char* ErrToString(int err);

// The host's display name of an element type; empty when the host gives none.
GS::UniString ElemID_To_Name(API_ElemTypeID id);

// Writes text to the report window with an alert. The text is printed as it stands (a "%" in
// it is not a format directive).
void WriteReport_utf8_Alert(const GS::UniString& text);

GSErrCode Attribute_Delete(const API_Attr_Head& head);
// Deletes the attributes of head's type whose 32-bit indices fill the host pointer block
// indices (its size in bytes over 4, whole indices only). The host's error code.
GSErrCode Attribute_DeleteMore(const API_Attr_Head& head, API_AttributeIndex* indices);
// The indices Attribute_DeleteMore reads from such a block, in order. Empty for null.
GS::Array<API_AttributeIndex> AttributeIndicesOfBlock(const API_AttributeIndex* indices);

// True when text (null counts as empty) fits a field of N bytes with its terminating zero.
template <std::size_t N>
bool FitsField(const char (&/*field*/)[N], const char* text)
{
	return text == nullptr || ::strnlen(text, N) < N;
}

// Copies text with its terminating zero into field. APIERR_BADNAME, with field untouched, when
// it does not fit; a null text gives an empty field.
template <std::size_t N>
GSErrCode CopyToField(char (&field)[N], const char* text)
{
	if (!FitsField(field, text)) return APIERR_BADNAME;
	const std::size_t n = text != nullptr ? std::strlen(text) : 0;
	if (n > 0) std::memcpy(field, text, n);
	field[n] = 0;
	return NoError;
}

// A new host handle of count records of T, cleared; null when it cannot be made, also when
// count records exceed the host's largest handle (2^31 - 1 bytes). Released with BMKillHandle.
template <typename T>
T** NewHandleTable(std::size_t count)
{
	if (count > static_cast<std::size_t>(0x7FFFFFFF) / sizeof(T)) return nullptr;
	return reinterpret_cast<T**>(BMAllocateHandle(static_cast<Int32>(count * sizeof(T)), ALLOCATE_CLEAR, 0));
}

// Owns a host handle of count records of T (API_Guid or API_Elem_Head), cleared. A non-zero
// status means the handle could not be made and is not usable.
template <typename T>
class ACDoublePtrGuidRaii {
public:
	explicit ACDoublePtrGuidRaii(UInt32 count)
	{
		handle_ = NewHandleTable<T>(count);
		status_ = handle_ != nullptr ? NoError : APIERR_MEMFULL;
		count_ = handle_ != nullptr ? count : 0;
	}
	~ACDoublePtrGuidRaii() { BMKillHandle(reinterpret_cast<GSHandle*>(&handle_)); }
	ACDoublePtrGuidRaii(const ACDoublePtrGuidRaii&) = delete;
	ACDoublePtrGuidRaii& operator=(const ACDoublePtrGuidRaii&) = delete;

	GSErrCode GetStatus() const { return status_; }
	UInt32 GetCount() const { return count_; }
	T** GetHandle() const { return handle_; }

	// Writes the GUIDs into the owned records (the handle argument is not read), as far as the
	// smaller of the record count and the array's size; nothing while the status is non-zero.
	// An API_Guid record becomes the GUID; an API_Elem_Head gets the GUID and type code 0.
	void fill(T** /*handle*/, const GS::Array<API_Guid>& guids)
	{
		if (status_ != NoError) return;
		const UInt32 n = count_ < guids.GetSize() ? count_ : guids.GetSize();
		for (UInt32 i = 0; i < n; ++i) Assign((*handle_)[i], guids[i]);
	}

private:
	static void Assign(API_Guid& record, const API_Guid& guid) { record = guid; }
	static void Assign(API_Elem_Head& record, const API_Guid& guid)
	{
		record.guid = guid;
		record.type.typeID = API_ZombieElemID;
	}

	GSErrCode status_ = NoError;
	UInt32 count_ = 0;
	T** handle_ = nullptr;
};

} // namespace kivel

#endif
