// Scale factors along the three axes, as a block reference carries them.
#pragma once

class AcGeScale3d {
 public:
  constexpr AcGeScale3d() = default;
  constexpr explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  constexpr AcGeScale3d(double xFactor, double yFactor, double zFactor)
      : sx(xFactor), sy(yFactor), sz(zFactor) {}

  constexpr bool operator==(const AcGeScale3d& s) const = default;

  double sx = 1;
  double sy = 1;
  double sz = 1;
};
