// A host project with the add-on's "VelmoraLib" beside the module and loaded, as the
// importer has it before the readers run.
#ifndef VELMORA_OBJECTSTEST_HPP
#define VELMORA_OBJECTSTEST_HPP

#include <filesystem>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "Classes/ObjectGenerationInfo.hpp"
#include "Helpers/LibraryManager.hpp"
#include "TestSupport.hpp"
#include "generic/LibraryManager.hpp"

namespace objtest {

class VelmoraLibTest : public testsupport::HostTest {
protected:
	// Copies the shipped "VelmoraLib" beside the module, leaving out the parts named in
	// without, and loads it.
	void LoadLib(std::initializer_list<const char*> without = {})
	{
		namespace fs = std::filesystem;
		const fs::path lib = fs::u8path(addon_ / "VelmoraLib");
		fs::copy(fs::u8path(std::string(VELMORA_SOURCE_DIR) + "/Resources/VelmoraLib"), lib, fs::copy_options::recursive);
		for (const char* name : without) ASSERT_TRUE(fs::remove(lib / (std::string(name) + ".gsm"))) << name;
		Host().addonFile = addon_ / "Velmora.so";
		ASSERT_EQ(LoadVelmoraLibrary(), NoError);
	}
	// The host's index of a loaded part.
	static Int32 PartIndex(const char* name)
	{
		API_LibPart part;
		BNZeroMemory(&part, sizeof part);
		EXPECT_EQ(kivel::LibraryManager::SearchByLibraryPartName(part, GS::UniString(name), false, false, false), NoError) << name;
		return part.index;
	}
	// The number value of a record's parameter (by its upper-case key), checking its type.
	static double Number(const ObjectGenerationInfo& record, const char* key, API_AddParID type)
	{
		const ObjectParameter* p = record.parameters.GetPtr(GS::UniString(key));
		if (p == nullptr) {
			ADD_FAILURE() << "no parameter " << key;
			return -1;
		}
		EXPECT_EQ(p->type, type) << key;
		EXPECT_FALSE(p->isArray) << key;
		return p->doubleValue;
	}
	std::string MissingPartReport(const char* name) const
	{
		return std::string("Can't find '") + name + "' object! The library is not loaded or the product library is outdated!";
	}

	testsupport::TempDir addon_;
};

} // namespace objtest

#endif
