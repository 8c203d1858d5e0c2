// Memory handles and pointers. The host counts live handles and records double frees
// (see vhost::Memory in vhost/Project.hpp).
#ifndef VHOST_GSMEMORY_HPP
#define VHOST_GSMEMORY_HPP

#include "Definitions.hpp"

constexpr Int32 ALLOCATE_CLEAR = 1;

// A handle of `size` bytes (cleared when flags has ALLOCATE_CLEAR). Null for a negative size.
GSHandle BMAllocateHandle(Int32 size, Int32 flags, Int32 reserved);
GSHandle BMhAll(Int32 size);
GSHandle BMhAllClear(Int32 size);
// Resizes, keeping the leading bytes; new bytes are zero. Null when h is unknown.
GSHandle BMReallocHandle(GSHandle h, Int32 size, Int32 flags, Int32 reserved);
// Frees the handle and nulls the caller's variable. A null handle is no error;
// an unknown or already freed one is recorded as a fault and answers ErrNilHandle.
GSErrCode BMKillHandle(GSHandle* h);
void BMhKill(GSHandle* h);
Int32 BMGetHandleSize(GSConstHandle h);
Int32 BMhGetSize(GSConstHandle h);

GSPtr BMAllocatePtr(Int32 size, Int32 flags, Int32 reserved);
GSPtr BMpAll(Int32 size);
GSPtr BMpAllClear(Int32 size);
GSErrCode BMKillPtr(GSPtr* p);
void BMpKill(GSPtr* p);
Int32 BMGetPtrSize(GSConstPtr p);

// Fills size bytes at ptr with value (nothing for a null pointer or a size below 1).
void BNFillMemory(void* ptr, Int32 size, unsigned char value);
void BNZeroMemory(void* ptr, Int32 size);

#endif
