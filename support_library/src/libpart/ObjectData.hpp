// An object element together with its parameters.
#ifndef KIVEL_OBJECTDATA_HPP
#define KIVEL_OBJECTDATA_HPP

#include <memory>

#include "APIdefs_Elements.h"
#include "libpart/Smart_AddParT.hpp"

namespace kivel {

// The element record and the shared owner of its parameter handle; the last copy to go
// disposes the handle. Written over the element and settings records so that it does not
// depend on where they are declared: Settings has `elemDef` (an Element) and `addPars`.
template <typename Element, typename Settings>
class BasicObjectData {
public:
	// Copies both; the handle's owner count goes up by one.
	BasicObjectData(const Element& element, std::shared_ptr<KV_AddParT> params) : element_(element), params_(std::move(params)) {}
	// Copies the element definition and takes over the settings' parameter handle: the
	// settings record must not dispose it afterwards.
	explicit BasicObjectData(Settings& settings)
		: element_(settings.elemDef), params_(std::make_shared<KV_AddParT>(settings.addPars)) {}

	const Element& GetElement() const { return element_; }
	Element& GetElement() { return element_; }
	const std::shared_ptr<KV_AddParT>& GetParams() const { return params_; }

private:
	Element element_;
	std::shared_ptr<KV_AddParT> params_;
};

// An object element and its parameters, as the object settings dialog hands them out.
using ObjectData = BasicObjectData<API_Element, API_ObjectSettingsPars>;

} // namespace kivel

#endif
