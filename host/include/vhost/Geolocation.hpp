// The project geolocation's part of the dump.
#ifndef VHOST_GEOLOCATION_HPP
#define VHOST_GEOLOCATION_HPP

#include <nlohmann/json.hpp>

namespace vhost {

// The project dump's "geolocation".
nlohmann::ordered_json GeolocationJson();

} // namespace vhost

#endif
