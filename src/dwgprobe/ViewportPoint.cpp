// Viewport records to insertion points: the point is taken into the view's plane and placed
// within the viewport's part of the preview.
#include "dwgprobe/ViewportPoint.h"

#include <cmath>

namespace dwgprobe {

namespace {

struct Vector {
  double x, y, z;
  Vector operator+(const Vector& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vector operator-(const Vector& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vector operator*(double k) const { return {x * k, y * k, z * k}; }
  double Dot(const Vector& o) const { return x * o.x + y * o.y + z * o.z; }
  Vector Cross(const Vector& o) const {
    return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
  }
  double Length() const { return std::sqrt(Dot(*this)); }
};

Vector At(std::span<const double, kViewportRecordDoubles> r, std::size_t i) {
  return {r[i], r[i + 1], r[i + 2]};
}

// Rotation of `p` by `angle` about the axis through `origin` along the unit vector `axis`
// (right-handed, Rodrigues' formula).
Vector Rotate(const Vector& p, const Vector& origin, const Vector& axis, double angle) {
  const Vector v = p - origin;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return origin + v * c + axis.Cross(v) * s + axis * (axis.Dot(v) * (1 - c));
}

// The host's arbitrary-axis rule: the in-plane x axis of a plane with unit normal `n`.
Vector PlaneXAxis(const Vector& n) {
  constexpr double kNearAxis = 1.0 / 64.0;
  const Vector worldY{0, 1, 0};
  const Vector worldZ{0, 0, 1};
  const Vector x = (std::fabs(n.x) < kNearAxis && std::fabs(n.y) < kNearAxis) ? worldY.Cross(n)
                                                                              : worldZ.Cross(n);
  return x * (1 / x.Length());
}

}  // namespace

std::optional<PreviewPoint> ViewportInsertionPoint(
    std::span<const double, kViewportRecordDoubles> record, int width, int height) {
  const Vector p = At(record, 0);
  const Vector target = At(record, 7);
  const Vector direction = At(record, 10);
  const double viewWidth = record[13];
  const double viewHeight = record[14];
  const double twist = record[15];
  const double length = direction.Length();
  if (!(length > 0) || viewWidth == 0 || viewHeight == 0) return std::nullopt;
  const Vector normal = direction * (1 / length);

  // Rotated by the twist about the direction through the target, negated, then projected along
  // the direction onto the plane through target + direction, in that plane's own axes.
  const Vector negated = Rotate(p, target, normal, twist) * -1;
  const Vector origin = target + direction;
  const Vector onPlane = negated - normal * (negated - origin).Dot(normal);
  const Vector xAxis = PlaneXAxis(normal);
  const Vector yAxis = normal.Cross(xAxis);
  const double qx = (onPlane - origin).Dot(xAxis);
  const double qy = (onPlane - origin).Dot(yAxis);

  const double fx = -((record[16] - viewWidth / 2 + qx) / viewWidth);
  const double fy = -((record[17] - viewHeight / 2 + qy) / viewHeight);
  if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1)) return std::nullopt;
  const double w = width;
  const double h = height;
  return PreviewPoint{w * record[3] + fx * w * (record[5] - record[3]),
                      h * record[4] + fy * h * (record[6] - record[4])};
}

void AppendInsertionPoints(std::span<const double> records, int width, int height,
                           std::vector<double>& points) {
  for (std::size_t at = 0; at + kViewportRecordDoubles <= records.size();
       at += kViewportRecordDoubles) {
    const auto record = records.subspan(at).first<kViewportRecordDoubles>();
    if (const auto point = ViewportInsertionPoint(record, width, height)) {
      points.push_back(point->x);
      points.push_back(point->y);
    }
  }
}

}  // namespace dwgprobe
