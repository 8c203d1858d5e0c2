// Layers as attributes: create, search by name, get, count.
#include <cstring>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "vhost/Text.hpp"
#include "ElementsTestSupport.hpp"
#include "vhost/Elements.hpp"
#include "vhost/AttributeIndex.hpp"

namespace {

using namespace elementstest;

class Layers : public ElementsTest {};

API_Attr_Head LayerHead(const std::string& name)
{
	API_Attr_Head head;
	BNZeroMemory(&head, sizeof head);
	head.typeID = API_LayerID;
	std::strncpy(head.name, name.c_str(), API_AttrNameLen - 1);
	return head;
}

TEST_F(Layers, CreatedLayersAreFoundByTheirExactName)
{
	const Int32 first = MakeLayer("Veg");
	const Int32 second = MakeLayer("DEFAULT");
	EXPECT_EQ(first, 2); // layer 1 is the project's own
	EXPECT_EQ(second, 3);
	API_Attr_Head head = LayerHead("DEFAULT");
	ASSERT_EQ(ACAPI_Attribute_Search(&head), NoError);
	EXPECT_EQ(vhost::IndexValue(head.index), second);
	head = LayerHead("Default");
	EXPECT_EQ(ACAPI_Attribute_Search(&head), APIERR_BADNAME);
	EXPECT_EQ(MakeLayer("Default"), 4);

	API_Attribute again;
	BNZeroMemory(&again, sizeof again);
	again.header = LayerHead("Veg");
	EXPECT_EQ(ACAPI_Attribute_Create(&again, nullptr), APIERR_ATTREXIST);
	UInt32 count = 0;
	ASSERT_EQ(ACAPI_Attribute_GetNum(API_LayerID, count), NoError);
	EXPECT_EQ(count, 4u);
	EXPECT_EQ(ACAPI_Attribute_GetNum(API_LinetypeID, count), APIERR_NOTSUPPORTED);
}

TEST_F(Layers, NamesAreCheckedAndGivenBackWhole)
{
	GS::UniString name = vhost::FromUnits(std::u16string(255, u'ø'));
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header.typeID = API_LayerID;
	layer.header.uniStringNamePtr = &name;
	ASSERT_EQ(ACAPI_Attribute_Create(&layer, nullptr), NoError);

	// The 8-bit field holds 127 two-byte letters of the 255: cut between letters.
	API_Attribute got;
	BNZeroMemory(&got, sizeof got);
	GS::UniString back;
	got.header.typeID = API_LayerID;
	got.header.index = layer.header.index;
	got.header.uniStringNamePtr = &back;
	ASSERT_EQ(ACAPI_Attribute_Get(&got), NoError);
	EXPECT_EQ(back, name);
	EXPECT_EQ(std::strlen(got.header.name), 254u);

	GS::UniString tooLong = vhost::FromUnits(std::u16string(256, u'a'));
	layer.header.uniStringNamePtr = &tooLong;
	EXPECT_EQ(ACAPI_Attribute_Create(&layer, nullptr), APIERR_BADNAME);
	API_Attribute bad;
	BNZeroMemory(&bad, sizeof bad);
	bad.header = LayerHead("\xC3(");
	EXPECT_EQ(ACAPI_Attribute_Create(&bad, nullptr), APIERR_BADNAME);
	bad.header = LayerHead("");
	EXPECT_EQ(ACAPI_Attribute_Create(&bad, nullptr), APIERR_BADNAME);
	got.header.index = API_AttributeIndex(9);
	EXPECT_EQ(ACAPI_Attribute_Get(&got), APIERR_BADINDEX);
}

TEST_F(Layers, AFailingCreateIsAnsweredAndAddsNothing)
{
	vhost::InjectFault("ACAPI_Attribute_Create", APIERR_GENERAL, "", 1);
	API_Attribute layer;
	BNZeroMemory(&layer, sizeof layer);
	layer.header = LayerHead("Bygg");
	EXPECT_EQ(ACAPI_Attribute_Create(&layer, nullptr), APIERR_GENERAL);
	EXPECT_EQ(vhost::IndexValue(layer.header.index), 0);
	EXPECT_EQ(Host().attributes.layers.size(), 1u);
}

} // namespace
