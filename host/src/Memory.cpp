#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "GSMemory.hpp"
#include "vhost/Project.hpp"

namespace {

// Every live block: handles point at a heap slot that holds the block's address.
struct Block {
	std::vector<char> bytes;
};

std::map<const void*, Block*>& Handles()
{
	static std::map<const void*, Block*> handles;
	return handles;
}

std::map<const void*, Block*>& Ptrs()
{
	static std::map<const void*, Block*> ptrs;
	return ptrs;
}

struct HandleSlot {
	char* data;
};

// Releases never allocate: a fault they find is recorded without throwing.
void Fault(const char* what) { vhost::RecordMemoryFault(what); }

} // namespace

namespace vhost {
int LiveHandles() { return static_cast<int>(Handles().size() + Ptrs().size()); }
}

GSHandle BMAllocateHandle(Int32 size, Int32 /*flags*/, Int32 /*reserved*/)
{
	if (size < 0) return nullptr;
	auto* block = new Block{std::vector<char>(static_cast<std::size_t>(size) + 1, 0)};
	auto* slot = new HandleSlot{block->bytes.data()};
	GSHandle h = &slot->data;
	Handles()[h] = block;
	return h;
}

GSHandle BMhAll(Int32 size) { return BMAllocateHandle(size, 0, 0); }
GSHandle BMhAllClear(Int32 size) { return BMAllocateHandle(size, ALLOCATE_CLEAR, 0); }

GSHandle BMReallocHandle(GSHandle h, Int32 size, Int32 /*flags*/, Int32 /*reserved*/)
{
	const auto it = Handles().find(h);
	if (it == Handles().end() || size < 0) return nullptr;
	it->second->bytes.resize(static_cast<std::size_t>(size) + 1, 0);
	*h = it->second->bytes.data();
	return h;
}

GSErrCode BMKillHandle(GSHandle* h)
{
	if (h == nullptr || *h == nullptr) return NoError;
	const auto it = Handles().find(*h);
	if (it == Handles().end()) {
		Fault("BMKillHandle: unknown or already freed handle");
		return ErrNilHandle;
	}
	delete it->second;
	delete reinterpret_cast<HandleSlot*>(*h);
	Handles().erase(it);
	*h = nullptr;
	return NoError;
}

void BMhKill(GSHandle* h) { BMKillHandle(h); }

Int32 BMGetHandleSize(GSConstHandle h)
{
	const auto it = Handles().find(h);
	return it == Handles().end() ? 0 : static_cast<Int32>(it->second->bytes.size() - 1);
}

Int32 BMhGetSize(GSConstHandle h) { return BMGetHandleSize(h); }

GSPtr BMAllocatePtr(Int32 size, Int32 /*flags*/, Int32 /*reserved*/)
{
	if (size < 0) return nullptr;
	auto* block = new Block{std::vector<char>(static_cast<std::size_t>(size) + 1, 0)};
	Ptrs()[block->bytes.data()] = block;
	return block->bytes.data();
}

GSPtr BMpAll(Int32 size) { return BMAllocatePtr(size, 0, 0); }
GSPtr BMpAllClear(Int32 size) { return BMAllocatePtr(size, ALLOCATE_CLEAR, 0); }

GSErrCode BMKillPtr(GSPtr* p)
{
	if (p == nullptr || *p == nullptr) return NoError;
	const auto it = Ptrs().find(*p);
	if (it == Ptrs().end()) {
		Fault("BMKillPtr: unknown or already freed pointer");
		return ErrNilHandle;
	}
	delete it->second;
	Ptrs().erase(it);
	*p = nullptr;
	return NoError;
}

void BMpKill(GSPtr* p) { BMKillPtr(p); }

Int32 BMGetPtrSize(GSConstPtr p)
{
	const auto it = Ptrs().find(p);
	return it == Ptrs().end() ? 0 : static_cast<Int32>(it->second->bytes.size() - 1);
}

void BNFillMemory(void* ptr, Int32 size, unsigned char value)
{
	if (ptr != nullptr && size > 0) std::memset(ptr, value, static_cast<std::size_t>(size));
}

void BNZeroMemory(void* ptr, Int32 size) { BNFillMemory(ptr, size, 0); }
