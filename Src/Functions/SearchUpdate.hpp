// The update trigger: the first menu command of a host run asks the update server for a newer
// version and offers its download location.
#ifndef VELMORA_SEARCHUPDATE_HPP
#define VELMORA_SEARCHUPDATE_HPP

#include <string>

// String lists of the update alert (other languages, Norwegian): title, message, two buttons.
constexpr short kUpdateAlertStrings = 130;
constexpr short kUpdateAlertStringsNorwegian = 131;

// The update server's base address when VELMORA_UPDATE_BASE does not name another.
constexpr const char* kDefaultUpdateBase = "https://www.velmora.example";
// Path and query of the update check, appended to the base address.
constexpr const char* kUpdateQuery = "/kivel_update/kivel_update.php?id=velmora";

// Set once the check has run in this process; tests clear it to start a new host run.
extern bool VelmoraUpdateChecked;

// What the update check's reports begin with.
constexpr const char* kUpdateReportPrefix = "Velmora / Do_SearchUpdate# ";

// On its first call of the process: checks for an update and, when one is offered at an
// absolute https address, shows the update alert; its first button opens the address. On
// every call asks the host to keep the add-on loaded. 0; APIERR_GENERAL when something
// threw, reported once ("Velmora / Do_SearchUpdate# Internal error: <what>").
int Do_SearchUpdate();

// True for a base address "https://HOST[:PORT]", or "http://" with a loopback host
// (127.0.0.1, localhost, [::1]) and an optional port; a final "/" is allowed. Anything
// else (a path, a query, user data, spaces) is refused.
bool IsUsableUpdateBase(const std::string& base);
// The check's URL: the base from VELMORA_UPDATE_BASE when it is usable, else the default,
// followed by the path and query.
std::string UpdateQueryUrl();
// True when location is an absolute https address that may be offered and opened.
bool IsOfferableLocation(const std::string& location);

#endif
