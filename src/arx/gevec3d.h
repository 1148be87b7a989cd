// A vector in the drawing's three-dimensional space.
#pragma once

#include <cmath>

class AcGeVector3d {
 public:
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  constexpr AcGeVector3d() = default;
  constexpr AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  constexpr AcGeVector3d operator+(const AcGeVector3d& v) const {
    return {x + v.x, y + v.y, z + v.z};
  }
  constexpr AcGeVector3d operator-(const AcGeVector3d& v) const {
    return {x - v.x, y - v.y, z - v.z};
  }
  constexpr AcGeVector3d operator*(double k) const { return {x * k, y * k, z * k}; }
  constexpr bool operator==(const AcGeVector3d& v) const = default;

  double x = 0;
  double y = 0;
  double z = 0;
};

inline constexpr AcGeVector3d AcGeVector3d::kXAxis{1, 0, 0};
inline constexpr AcGeVector3d AcGeVector3d::kYAxis{0, 1, 0};
inline constexpr AcGeVector3d AcGeVector3d::kZAxis{0, 0, 1};
