// An element memo that frees its handles on every way out, also when something throws.
#ifndef VELMORA_MEMOOWNER_HPP
#define VELMORA_MEMOOWNER_HPP

#include "ACAPinc.h"

struct MemoOwner {
	API_ElementMemo memo{};
	MemoOwner() = default;
	MemoOwner(const MemoOwner&) = delete;
	MemoOwner& operator=(const MemoOwner&) = delete;
	~MemoOwner() { ACAPI_DisposeElemMemoHdls(&memo); }
};

#endif
