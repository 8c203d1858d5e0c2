#include "utils/GuidUtils.hpp"

#include "ACUtils.hpp"

namespace kivel::GuidUtils {

namespace {

constexpr std::size_t kMainGuidLength = 38; // "{" 36 characters "}"

} // namespace

GSErrCode ToGuid(const char* text, API_Guid& guid)
{
	guid = APINULLGuid;
	GS::Guid parsed;
	const GSErrCode err = parsed.ConvertFromString(text != nullptr ? text : "");
	if (err != NoError) {
		ACAPI_WriteReport("Error: GS::GUIDInvalidString : %s", true, ErrToString(err));
		return err;
	}
	guid = GSGuid2APIGuid(parsed);
	return NoError;
}

API_Guid ToGuid(const char* text)
{
	API_Guid guid;
	BNZeroMemory(&guid, sizeof guid);
	ToGuid(text, guid);
	return guid;
}

API_Guid UnIdToGuid(const char* unID)
{
	char mainGuid[kMainGuidLength + 1] = {};
	if (unID != nullptr) std::strncpy(mainGuid, unID, kMainGuidLength); // the last byte stays zero
	return ToGuid(mainGuid);
}

} // namespace kivel::GuidUtils
