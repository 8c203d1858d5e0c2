// Attribute calls: create, search by name, get, count. Layers and materials are modelled; other
// attribute kinds answer APIERR_NOTSUPPORTED. Attribute calls work outside undoable steps.
#ifndef VHOST_ACAPI_ATTRIBUTES_H
#define VHOST_ACAPI_ATTRIBUTES_H

#include "APIdefs_Attributes.h"

// Adds the attribute and writes its index into attribute->header.index. A layer needs a
// name (APIERR_BADNAME when empty, longer than 255 UTF-16 units or not valid in the host's
// code) not yet used by another layer (APIERR_ATTREXIST). defs may be null.
GSErrCode ACAPI_Attribute_Create(API_Attribute* attribute, API_AttributeDef* defs);
// Replaces the record of header.typeID and header.index (APIERR_BADINDEX when there is none)
// with the one given, checked as for Create. Materials only (else APIERR_NOTSUPPORTED).
GSErrCode ACAPI_Attribute_Modify(API_Attribute* attribute, API_AttributeDef* defs);
// Finds the attribute of attrHead->typeID by its name (exact) and writes its index;
// APIERR_BADNAME when there is none.
GSErrCode ACAPI_Attribute_Search(API_Attr_Head* attrHead);
// Fills the record of header.typeID and header.index (APIERR_BADINDEX when there is none):
// the name into header.name (cut on a character boundary) and *uniStringNamePtr when set.
GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute);
// How many attributes of the type exist.
GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, UInt32& count);
// Frees the definition's handles and nulls them.
GSErrCode ACAPI_DisposeAttrDefsHdls(API_AttributeDef* defs);

#endif
