// The host's release calls run inside the add-on's destructors, so they may neither throw nor
// allocate: each one here runs while every allocation of the process fails.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "ACAPinc.h"
#include "CoreServices/CoreServices.h"
#include "File.hpp"
#include "TestSupport.hpp"

namespace {

// While true, operator new fails. Only this program's tests set it, around one release call.
bool refuseAllocations = false;

class RefusedAllocations {
public:
	RefusedAllocations() { refuseAllocations = true; }
	~RefusedAllocations() { refuseAllocations = false; }
	RefusedAllocations(const RefusedAllocations&) = delete;
	RefusedAllocations& operator=(const RefusedAllocations&) = delete;
};

} // namespace

void* operator new(std::size_t size)
{
	if (refuseAllocations) throw std::bad_alloc();
	if (void* p = std::malloc(size != 0 ? size : 1)) return p;
	throw std::bad_alloc();
}

// The replacements pair malloc with free themselves; GCC cannot see that through the names.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

class Release : public testsupport::HostTest {};

template <typename T>
T** Table(std::size_t count)
{
	return reinterpret_cast<T**>(BMAllocateHandle(static_cast<Int32>(count * sizeof(T)), ALLOCATE_CLEAR, 0));
}

// A parameter list of two records, the second an array with its own handle.
API_AddParType** ParamsWithAnArray()
{
	API_AddParType** params = Table<API_AddParType>(2);
	(*params)[1].typeID = APIParT_RealNum;
	(*params)[1].typeMod = API_ParArray;
	(*params)[1].dim1 = 2;
	(*params)[1].dim2 = 1;
	(*params)[1].value.array = BMAllocateHandle(2 * sizeof(double), ALLOCATE_CLEAR, 0);
	return params;
}

TEST_F(Release, EveryReleaseCallWorksWhileAllocationsFail)
{
	const std::string path = RunRoot() + "/a file whose name is longer than any short text.txt";
	testsupport::WriteFile(path, "x");
	const struct {
		const char* name;
		// Makes what the release call frees and answers that call.
		std::function<std::function<void()>()> make;
	} cases[] = {
		{"ACAPI_DisposeAddParHdl",
		 [] {
			 auto params = std::make_shared<API_AddParType**>(ParamsWithAnArray());
			 return [params] { ACAPI_DisposeAddParHdl(params.get()); };
		 }},
		{"ACAPI_DisposeElemMemoHdls",
		 [] {
			 auto memo = std::make_shared<API_ElementMemo>();
			 BNZeroMemory(memo.get(), sizeof *memo);
			 memo->coords = Table<API_Coord>(3);
			 memo->pends = Table<Int32>(2);
			 memo->params = ParamsWithAnArray();
			 memo->textContent = new GS::UniString("a text longer than any short text");
			 return [memo] { ACAPI_DisposeElemMemoHdls(memo.get()); };
		 }},
		{"ACAPI_Polygon_DisposeRegularizedPoly",
		 [] {
			 auto poly = std::make_shared<API_RegularizedPoly>();
			 BNZeroMemory(poly.get(), sizeof *poly);
			 poly->coords = Table<API_Coord>(4);
			 poly->vertexAttrs = Table<Int32>(4);
			 return [poly] { ACAPI_Polygon_DisposeRegularizedPoly(poly.get()); };
		 }},
		{"ACAPI_DisposeAttrDefsHdls",
		 [] {
			 auto defs = std::make_shared<API_AttributeDef>(API_AttributeDef{BMAllocateHandle(8, ALLOCATE_CLEAR, 0), nullptr});
			 return [defs] { ACAPI_DisposeAttrDefsHdls(defs.get()); };
		 }},
		{"BMKillPtr",
		 [] {
			 auto p = std::make_shared<GSPtr>(BMAllocatePtr(8, ALLOCATE_CLEAR, 0));
			 return [p] { BMKillPtr(p.get()); };
		 }},
		{"ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList",
		 [] {
			 auto list = std::make_shared<GSHandle>(nullptr);
			 ACAPI_AddOnAddOnCommunication_InitMDCLParameterList(list.get());
			 return [list] { ACAPI_AddOnAddOnCommunication_FreeMDCLParameterList(list.get()); };
		 }},
		{"CFRelease",
		 [] {
			 const UniChar text[] = {'h', 't', 't', 'p', 's', ':', '/', '/', 'x', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e'};
			 const CFStringRef s = CFStringCreateWithCharacters(nullptr, text, sizeof text / sizeof text[0]);
			 return [s] { CFRelease(s); };
		 }},
		{"IO::File going",
		 [path] {
			 auto file = std::make_shared<std::unique_ptr<IO::File>>(std::make_unique<IO::File>(testsupport::Loc(path)));
			 (*file)->Open(IO::File::ReadMode);
			 return [file] { file->reset(); };
		 }},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		const int before = vhost::LiveHandles();
		const std::function<void()> release = c.make();
		bool threw = false;
		{
			const RefusedAllocations refused;
			try {
				release();
			} catch (...) {
				threw = true;
			}
		}
		EXPECT_FALSE(threw);
		EXPECT_EQ(vhost::LiveHandles(), before);
	}
	// A misuse found while memory has run out is counted, not lost.
	GSHandle h = BMAllocateHandle(8, 0, 0);
	GSHandle copy = h;
	BMKillHandle(&h);
	bool threw = false;
	{
		const RefusedAllocations refused;
		try {
			BMKillHandle(&copy);
		} catch (...) {
			threw = true;
		}
	}
	EXPECT_FALSE(threw);
	EXPECT_EQ(Host().memoryFaultsUnrecorded, 1);
	EXPECT_FALSE(vhost::RunIsClean());
	Host().memoryFaultsUnrecorded = 0; // seen
}

} // namespace
