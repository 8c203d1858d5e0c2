// The project's geolocation record: get, set, and its part of the dump.
#include "ACAPI_GeoLocation.h"

#include <cmath>

#include "APIdefs_Errors.h"
#include "vhost/Geolocation.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"
#include "vhost/Unset.hpp"

namespace vhost {

namespace {

bool Finite(std::initializer_list<double> values)
{
	for (const double v : values)
		if (!std::isfinite(v)) return false;
	return true;
}

bool Valid(const API_GeoLocation& g)
{
	const API_GeoReferenceData& r = g.geoReferenceData;
	return Finite({g.latitude, g.longitude, g.altitude, g.north, g.surveyPointPosition.x, g.surveyPointPosition.y,
		       g.surveyPointPosition.z, r.eastings, r.northings, r.orthogonalHeight, r.xAxisAbscissa, r.xAxisOrdinate,
		       r.scale}) &&
		std::fabs(g.latitude) <= 90.0 && std::fabs(g.longitude) <= 180.0;
}

// The numbers the project keeps; its texts are objects that set themselves.
const RecordField kNumbers[] = {VHOST_FIELD(API_GeoLocation, latitude), VHOST_FIELD(API_GeoLocation, longitude),
	VHOST_FIELD(API_GeoLocation, altitude), VHOST_FIELD(API_GeoLocation, north),
	VHOST_FIELD(API_GeoLocation, surveyPointPosition.x), VHOST_FIELD(API_GeoLocation, surveyPointPosition.y),
	VHOST_FIELD(API_GeoLocation, surveyPointPosition.z), VHOST_FIELD(API_GeoLocation, geoReferenceData.eastings),
	VHOST_FIELD(API_GeoLocation, geoReferenceData.northings), VHOST_FIELD(API_GeoLocation, geoReferenceData.orthogonalHeight),
	VHOST_FIELD(API_GeoLocation, geoReferenceData.xAxisAbscissa), VHOST_FIELD(API_GeoLocation, geoReferenceData.xAxisOrdinate),
	VHOST_FIELD(API_GeoLocation, geoReferenceData.scale)};

} // namespace

nlohmann::ordered_json GeolocationJson()
{
	const API_GeoLocation& g = Current().geoLocation;
	const API_GeoReferenceData& r = g.geoReferenceData;
	return {
		{"latitude", g.latitude}, {"longitude", g.longitude}, {"altitude", g.altitude}, {"north", g.north},
		{"surveyPoint", {{"x", g.surveyPointPosition.x}, {"y", g.surveyPointPosition.y}, {"z", g.surveyPointPosition.z}}},
		{"georeference",
			{{"eastings", r.eastings}, {"northings", r.northings}, {"orthogonalHeight", r.orthogonalHeight},
				{"xAxisAbscissa", r.xAxisAbscissa}, {"xAxisOrdinate", r.xAxisOrdinate}, {"scale", r.scale},
				{"name", ToUtf8(r.name)}, {"description", ToUtf8(r.description)},
				{"geodeticDatum", ToUtf8(r.geodeticDatum)}, {"verticalDatum", ToUtf8(r.verticalDatum)},
				{"mapProjection", ToUtf8(r.mapProjection)}, {"mapZone", ToUtf8(r.mapZone)}}},
	};
}

} // namespace vhost

GSErrCode ACAPI_GeoLocation_GetGeoLocation(API_GeoLocation* geoLocation)
{
	if (geoLocation == nullptr) return APIERR_BADPARS;
	if (const GSErrCode f = vhost::FaultFor("ACAPI_GeoLocation_GetGeoLocation")) return f;
	*geoLocation = vhost::Current().geoLocation;
	return NoError;
}

GSErrCode ACAPI_GeoLocation_SetGeoLocation(const API_GeoLocation* geoLocation)
{
	if (geoLocation == nullptr) return APIERR_BADPARS;
	if (const GSErrCode err = vhost::CheckFieldsSet("ACAPI_GeoLocation_SetGeoLocation", geoLocation, vhost::kNumbers)) return err;
	if (!vhost::Valid(*geoLocation)) return APIERR_BADPARS;
	if (const GSErrCode f = vhost::FaultFor("ACAPI_GeoLocation_SetGeoLocation")) return f;
	vhost::Current().geoLocation = *geoLocation;
	return NoError;
}
