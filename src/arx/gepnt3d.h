// A point in the drawing's three-dimensional space (the world coordinate system).
#pragma once

#include "arx/gevec3d.h"

class AcGePoint3d {
 public:
  static const AcGePoint3d kOrigin;

  constexpr AcGePoint3d() = default;
  constexpr AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  double distanceTo(const AcGePoint3d& p) const { return (p - *this).length(); }
  constexpr AcGeVector3d operator-(const AcGePoint3d& p) const {
    return {x - p.x, y - p.y, z - p.z};
  }
  constexpr AcGePoint3d operator+(const AcGeVector3d& v) const {
    return {x + v.x, y + v.y, z + v.z};
  }
  constexpr AcGePoint3d operator-(const AcGeVector3d& v) const {
    return {x - v.x, y - v.y, z - v.z};
  }
  constexpr bool operator==(const AcGePoint3d& p) const = default;

  double x = 0;
  double y = 0;
  double z = 0;
};

inline constexpr AcGePoint3d AcGePoint3d::kOrigin{0, 0, 0};
