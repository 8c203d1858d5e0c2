// The host geometry library's three-component vector (only what the add-on uses).
#ifndef VHOST_VECTOR3D_HPP
#define VHOST_VECTOR3D_HPP

namespace Geometry {

template <class T>
struct Vector3 {
	T x = T(), y = T(), z = T();

	Vector3() = default;
	Vector3(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

	T GetX() const { return x; }
	T GetY() const { return y; }
	T GetZ() const { return z; }

	bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
	bool operator!=(const Vector3& o) const { return !(*this == o); }
};

} // namespace Geometry

#endif
