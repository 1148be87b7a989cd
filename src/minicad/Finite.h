// Whether coordinates and sizes are ordinary numbers: objects never hold infinities or NaNs, so
// drawing, exploding and saving them stays well defined.
#pragma once

#include <cmath>

#include "arx/gepnt3d.h"
#include "arx/gescl3d.h"

namespace minicad {

inline bool IsFinite(double value) { return std::isfinite(value); }
inline bool IsFinite(const AcGePoint3d& p) {
  return IsFinite(p.x) && IsFinite(p.y) && IsFinite(p.z);
}
inline bool IsFinite(const AcGeVector3d& v) {
  return IsFinite(v.x) && IsFinite(v.y) && IsFinite(v.z);
}
inline bool IsFinite(const AcGeScale3d& s) {
  return IsFinite(s.sx) && IsFinite(s.sy) && IsFinite(s.sz);
}

}  // namespace minicad
