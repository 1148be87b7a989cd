// Where a block's objects land: the plane map of a block reference (move the block's origin to
// the reference's position, scale, rotate), composed through nested references.
#pragma once

#include <cmath>

#include "arx/dbents.h"

namespace minicad {

struct Placement {
  // x' = a x + b y + c,  y' = d x + e y + f; z keeps its value plus `dz`.
  double a = 1, b = 0, c = 0;
  double d = 0, e = 1, f = 0;
  double dz = 0;

  AcGePoint3d Apply(const AcGePoint3d& p) const {
    return {a * p.x + b * p.y + c, d * p.x + e * p.y + f, p.z + dz};
  }

  // This placement after `inner`: a point is first placed by `inner`, then by this.
  Placement After(const Placement& inner) const {
    Placement out;
    out.a = a * inner.a + b * inner.d;
    out.b = a * inner.b + b * inner.e;
    out.c = a * inner.c + b * inner.f + c;
    out.d = d * inner.a + e * inner.d;
    out.e = d * inner.b + e * inner.e;
    out.f = d * inner.c + e * inner.f + f;
    out.dz = dz + inner.dz;
    return out;
  }

  // The placement of a reference to a block whose origin is `origin`.
  static Placement Of(const AcDbBlockReference& reference, const AcGePoint3d& origin) {
    const AcGeScale3d scale = reference.scaleFactors();
    const double cosine = std::cos(reference.rotation());
    const double sine = std::sin(reference.rotation());
    const AcGePoint3d at = reference.position();
    Placement out;
    out.a = cosine * scale.sx;
    out.b = -sine * scale.sy;
    out.d = sine * scale.sx;
    out.e = cosine * scale.sy;
    out.c = at.x - (out.a * origin.x + out.b * origin.y);
    out.f = at.y - (out.d * origin.x + out.e * origin.y);
    out.dz = at.z - origin.z;
    return out;
  }
};

}  // namespace minicad
