// Calendar records of the host.
#ifndef VHOST_GSTIME_HPP
#define VHOST_GSTIME_HPP

#include "Definitions.hpp"

// A date: year (e.g. 2025), month 1..12, day of the week 0..6 (Sunday 0), day 1..31.
struct GSDateRecord {
	UInt16 year;
	UInt16 month;
	UInt16 dayOfWeek;
	UInt16 day;
};

// A date and a time of day: hour 0..23, minute and second 0..59, millisecond 0..999.
struct GSTimeRecord {
	UInt16 year;
	UInt16 month;
	UInt16 dayOfWeek;
	UInt16 day;
	UInt16 hour;
	UInt16 minute;
	UInt16 second;
	UInt16 millisecond;
};

#endif
