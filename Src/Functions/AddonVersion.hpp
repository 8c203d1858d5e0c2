// The add-on's own version and build date, shown by the about dialog and sent to the update check.
#ifndef VELMORA_ADDONVERSION_HPP
#define VELMORA_ADDONVERSION_HPP

constexpr unsigned int kVersionMajor = 3;
constexpr unsigned int kVersionMinor = 0;
constexpr unsigned int kVersionPatch = 5;
constexpr const char* kBuildDate = "2025-10-15";

#endif
