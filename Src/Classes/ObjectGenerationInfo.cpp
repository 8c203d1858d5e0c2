#include "ObjectGenerationInfo.hpp"

#include <cstring>

ObjectParameter::ObjectParameter(API_AddParID type_, const GS::UniString& name_, bool isArray_)
	: type(type_), name(name_), isArray(isArray_)
{
}

ObjectParameter::ObjectParameter(API_AddParID type_, const GS::UniString& name_, double value)
	: type(type_), name(name_), isArray(false), doubleValue(value)
{
}

ObjectParameter::ObjectParameter(API_AddParID type_, const GS::UniString& name_, const GS::UniString& value)
	: type(type_), name(name_), isArray(false), stringValue(value)
{
}

ObjectParameter::ObjectParameter(API_AddParID type_, const GS::UniString& name_, const NumberTable& table)
	: type(type_), name(name_), isArray(true), doubleArray(table)
{
}

ObjectParameter::ObjectParameter(API_AddParID type_, const GS::UniString& name_, const TextTable& table)
	: type(type_), name(name_), isArray(true), stringArray(table)
{
}

ObjectGenerationInfo::ObjectGenerationInfo() : ObjectGenerationInfo(API_LibPart{}, static_cast<ImportObjectType>(-1), 1, 0.0)
{
	std::memset(&libPart, 0, sizeof libPart);
}

ObjectGenerationInfo::ObjectGenerationInfo(const API_LibPart& libPart_, ImportObjectType type_, short layer_, double z_)
	: ObjectGenerationInfo(libPart_, type_, layer_, 0.0, 0.0, z_)
{
}

ObjectGenerationInfo::ObjectGenerationInfo(const API_LibPart& libPart_, ImportObjectType type_, short layer_, double x_, double y_,
                                           double z_)
	: libPart(libPart_), type(type_), layer(layer_), x(x_), y(y_), z(z_)
{
}

bool ObjectGenerationInfo::AddParameter(const ObjectParameter& parameter)
{
	return parameters.Add(parameter.name.ToUpperCase(), parameter);
}
