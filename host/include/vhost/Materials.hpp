// The project's materials: surface records with an optional texture image.
#ifndef VHOST_MATERIALS_HPP
#define VHOST_MATERIALS_HPP

#include <string>

#include <nlohmann/json.hpp>

#include "APIdefs_Attributes.h"

namespace vhost {

// A material as the host keeps it: the record without its pointers, its name, and the
// texture's image file (empty when there is none).
struct MaterialRecord {
	std::u16string name;
	API_MaterialType record;
	std::string textureFile;
};

// The attribute calls' material cases. Create and Modify check the name (1..255 units,
// unique among materials: APIERR_BADNAME, APIERR_ATTREXIST) and the numbers (finite
// sizes and angle, percentages 0..100, texture sizes not negative: APIERR_BADPARS).
GSErrCode CreateMaterial(API_Attribute& attribute);
GSErrCode ModifyMaterial(API_Attribute& attribute);
GSErrCode SearchMaterial(API_Attr_Head& head);
GSErrCode GetMaterial(API_Attribute& attribute);

// The "materials" of the dump's "attributes".
nlohmann::ordered_json MaterialsJson();

} // namespace vhost

#endif
