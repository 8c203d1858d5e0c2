// Calendar records of the host.
#ifndef VHOST_GSTIME_HPP
#define VHOST_GSTIME_HPP

#include "Definitions.hpp"

// A date: year (e.g. 2025), month 1..12, day of the week 0..6 (Sunday 0), day 1..31.
struct GSDateRecord {
	UInt16 year = 0;
	UInt16 month = 0;
	UInt16 dayOfWeek = 0;
	UInt16 day = 0;
};

// A date and a time of day: hour 0..23, minute and second 0..59, millisecond 0..999.
struct GSTimeRecord {
	UInt16 year = 0;
	UInt16 month = 0;
	UInt16 dayOfWeek = 0;
	UInt16 day = 0;
	UInt16 hour = 0;
	UInt16 minute = 0;
	UInt16 second = 0;
	UInt16 millisecond = 0;
};

#endif
