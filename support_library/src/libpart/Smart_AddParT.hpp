// Ownership of one host parameter handle.
#ifndef KIVEL_SMART_ADDPART_HPP
#define KIVEL_SMART_ADDPART_HPP

#include "ACAPinc.h"

// Takes over a parameter handle and disposes it (ACAPI_DisposeAddParHdl) when it goes; a
// failing disposal ends the process, since the handle can no longer be trusted. Not
// copied: share it through std::shared_ptr<KV_AddParT>.
class KV_AddParT {
public:
	explicit KV_AddParT(API_AddParType** handle) : handle_(handle) {}
	~KV_AddParT();
	KV_AddParT(const KV_AddParT&) = delete;
	KV_AddParT& operator=(const KV_AddParT&) = delete;

	// The handle, still owned by this object.
	API_AddParType** Get() const { return handle_; }

private:
	API_AddParType** handle_;
};

#endif
