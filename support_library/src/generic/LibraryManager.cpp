#include "generic/LibraryManager.hpp"

#include <algorithm>
#include <cstring>

#include "generic/HostApi.hpp"

namespace kivel {
namespace LibraryManager {

namespace {

void DropLocation(API_LibPart& part, bool keepLocation)
{
	if (keepLocation || part.location == nullptr) return;
	delete part.location;
	part.location = nullptr;
}

void Clear(API_LibPart& part) { std::memset(&part, 0, sizeof part); }

} // namespace

GSErrCode Search(API_LibPart& part, bool createIfMissing, bool onlyPlaceable, bool keepLocation)
{
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_LibraryPart_Search(&part, createIfMissing, onlyPlaceable),
	                                      ACAPI_LibPart_Search(&part, createIfMissing, onlyPlaceable));
	DropLocation(part, keepLocation);
	return err;
}

GSErrCode SearchByGuid(API_LibPart& part, const GS::UniString& unID, bool createIfMissing, bool onlyPlaceable, bool keepLocation)
{
	const GS::UniString::CStr text = unID.ToCStr();
	const std::size_t n = std::strlen(text.Get());
	if (n >= sizeof part.ownUnID) return APIERR_BADNAME; // a cut id would name another part
	Clear(part);
	std::memcpy(part.ownUnID, text.Get(), n);
	return Search(part, createIfMissing, onlyPlaceable, keepLocation);
}

GSErrCode SearchByLibraryPartName(API_LibPart& part, const GS::UniString& name, bool createIfMissing, bool onlyPlaceable, bool keepLocation)
{
	const std::size_t n = name.GetLength();
	if (n >= static_cast<std::size_t>(API_UniLongNameLen)) return APIERR_BADNAME; // a cut name would find another part
	Clear(part);
	std::copy(name.ToUStr(), name.ToUStr() + n, part.docu_UName);
	return Search(part, createIfMissing, onlyPlaceable, keepLocation);
}

GSErrCode SearchByFileName(API_LibPart& part, const GS::UniString& name, bool createIfMissing, bool onlyPlaceable, bool keepLocation)
{
	return SearchByLibraryPartName(part, name, createIfMissing, onlyPlaceable, keepLocation);
}

GSErrCode GetLibraryPart(API_LibPart& part, bool keepLocation)
{
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_LibraryPart_Get(&part), ACAPI_LibPart_Get(&part));
	if (err != NoError) return err;
	DropLocation(part, keepLocation);
	return NoError;
}

GSErrCode GetLibrariesNumber(int& count)
{
	Int32 n = 0;
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_LibraryPart_GetNum(&n), ACAPI_LibPart_GetNum(&n));
	count = n;
	return err;
}

GSErrCode GetLibraries(GS::Array<API_LibraryInfo>& libraries)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryManagement_GetLibraries(&libraries, nullptr), ACAPI_Environment(CommandCode("GLIB"), &libraries, nullptr));
}

GSErrCode GetLibraries(GS::Array<API_LibraryInfo>& libraries, int& embeddedIndex)
{
	Int32 index = -1;
	const GSErrCode err = KIVEL_HOST_CALL(ACAPI_LibraryManagement_GetLibraries(&libraries, &index), ACAPI_Environment(CommandCode("GLIB"), &libraries, &index));
	embeddedIndex = index;
	return err;
}

GSErrCode SetLibraries(GS::Array<API_LibraryInfo>& libraries)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryManagement_SetLibraries(&libraries), ACAPI_Environment(CommandCode("SLIB"), &libraries));
}

GSErrCode AddLibrary(const IO::Location& folder)
{
	return KIVEL_HOST_CALL(ACAPI_LibraryManagement_AddLibraries(&folder), ACAPI_Environment(CommandCode("ALIB"), Arg(&folder)));
}

} // namespace LibraryManager
} // namespace kivel
