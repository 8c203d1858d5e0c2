// The project's geolocation: where the project lies on the globe and in a projected
// (national grid) coordinate system.
#ifndef VHOST_ACAPI_GEOLOCATION_H
#define VHOST_ACAPI_GEOLOCATION_H

#include "APIdefs_Base.h"
#include "UniString.hpp"

// The georeference: the survey point's place in the projected coordinate system and what
// that system is.
struct API_GeoReferenceData {
	double eastings;         // the survey point in the grid, metres
	double northings;
	double orthogonalHeight;
	double xAxisAbscissa;    // the project's x axis in the grid (a unit vector)
	double xAxisOrdinate;
	double scale;
	GS::UniString name;            // the coordinate system's name
	GS::UniString description;     // and its description
	GS::UniString geodeticDatum;
	GS::UniString verticalDatum;   // the height system
	GS::UniString mapProjection;
	GS::UniString mapZone;
};

struct API_GeoLocation {
	double latitude;         // degrees, -90..90
	double longitude;        // degrees, -180..180
	double altitude;         // metres
	double north;            // the north direction in the plan, radians
	API_Coord3D surveyPointPosition; // the survey point in project coordinates
	API_GeoReferenceData geoReferenceData;
};

// Copies the project's geolocation (a new project's is all zero, with the defaults above).
// APIERR_BADPARS for a null record.
GSErrCode ACAPI_GeoLocation_GetGeoLocation(API_GeoLocation* geoLocation);
// Replaces the project's geolocation. APIERR_BADPARS for a null record, a number that is not
// finite, or a latitude or longitude out of range; nothing changes then.
GSErrCode ACAPI_GeoLocation_SetGeoLocation(const API_GeoLocation* geoLocation);

#endif
