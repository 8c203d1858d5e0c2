// GS::Optional and GS::Owner: a value that may be absent, and sole ownership of an object.
#ifndef VHOST_GSOPTIONAL_HPP
#define VHOST_GSOPTIONAL_HPP

#include <memory>
#include <optional>

namespace GS {

template <typename T>
using Optional = std::optional<T>;

template <typename T>
using Owner = std::unique_ptr<T>;

} // namespace GS

#endif
