// The project geolocation's part of the dump.
#ifndef VHOST_GEOLOCATION_HPP
#define VHOST_GEOLOCATION_HPP

#include <nlohmann/json.hpp>

namespace vhost {

// Adds "geolocation" to the project dump.
void DumpGeolocation(nlohmann::ordered_json& j);

} // namespace vhost

#endif
