// One library object to place, as the readers and the import run hand it to the placement
// step: which part, from which import layer, where, and with which parameter values.
#ifndef VELMORA_OBJECTGENERATIONINFO_HPP
#define VELMORA_OBJECTGENERATIONINFO_HPP

#include "APIdefs_LibraryParts.h"
#include "Array.hpp"
#include "Classes/import_folder_scan.hpp"
#include "HashTable.hpp"
#include "UniString.hpp"

// One named parameter value. isArray and type decide which value field counts: a text
// (type 12) or a number when isArray is false, a text table (type 12) or a number table when
// it is true; the other value fields stay empty (0.0, empty text, empty tables).
class ObjectParameter {
public:
	using NumberTable = GS::Array<GS::Array<double>>;
	using TextTable = GS::Array<GS::Array<GS::UniString>>;

	// An empty value of the given table-ness.
	ObjectParameter(API_AddParID type, const GS::UniString& name, bool isArray);
	// A number (isArray false).
	ObjectParameter(API_AddParID type, const GS::UniString& name, double value);
	// A text (isArray false).
	ObjectParameter(API_AddParID type, const GS::UniString& name, const GS::UniString& value);
	// A C string would silently pick the bool form; a text value must be a GS::UniString.
	ObjectParameter(API_AddParID type, const GS::UniString& name, const char* value) = delete;
	// A copy of a number table, row by row (isArray true).
	ObjectParameter(API_AddParID type, const GS::UniString& name, const NumberTable& table);
	// A copy of a text table, row by row (isArray true).
	ObjectParameter(API_AddParID type, const GS::UniString& name, const TextTable& table);

	// True exactly when type is the host's text type, 12.
	bool IsStringParameter() const { return type == APIParT_CString; }

	API_AddParID type = {};
	GS::UniString name;
	bool isArray;
	double doubleValue = 0.0;
	GS::UniString stringValue;
	NumberTable doubleArray;
	TextTable stringArray;
};

// One object to place. x and y are metres east and north of the placement frame's origin,
// z the absolute elevation of the element's base. Keys of parameters are the parameter names
// in upper case, so names that differ only in case are one entry.
class ObjectGenerationInfo {
public:
	// A zeroed part record, type -1 (no import layer), layer 1, at 0, 0, 0.
	ObjectGenerationInfo();
	// At x = y = 0 and the given z.
	ObjectGenerationInfo(const API_LibPart& libPart, ImportObjectType type, short layer, double z);
	ObjectGenerationInfo(const API_LibPart& libPart, ImportObjectType type, short layer, double x, double y, double z);

	// Adds parameter under its upper-cased name. False, and nothing changes, when a parameter
	// of that name in any case is there already.
	bool AddParameter(const ObjectParameter& parameter);

	API_LibPart libPart {};   // copied whole; placement uses its index
	ImportObjectType type;
	Int16 layer;
	double x, y, z;
	GS::HashTable<GS::UniString, ObjectParameter> parameters;
};

#endif
