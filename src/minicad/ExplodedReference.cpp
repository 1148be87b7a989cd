// Placing a block's objects by a reference whose scale is the same along x and y (mirrored or
// not): every length grows by k, every direction turns by alpha, and a mirror (sigma = -1)
// reverses the sense of angles.
#include "minicad/ExplodedReference.h"

#include <cmath>
#include <numbers>

#include "arx/dbdim.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/Placement.h"

namespace minicad {
namespace {

struct Similarity {
  Placement placement;
  double k = 1;
  double alpha = 0;
  double sigma = 1;

  double Angle(double angle) const { return alpha + sigma * angle; }
};

void Place(AcDbLine& line, const Similarity& s) {
  (void)line.setStartPoint(s.placement.Apply(line.startPoint()));
  (void)line.setEndPoint(s.placement.Apply(line.endPoint()));
}

void Place(AcDbCircle& circle, const Similarity& s) {
  (void)circle.setCenter(s.placement.Apply(circle.center()));
  (void)circle.setRadius(circle.radius() * s.k);
}

// A mirrored counter-clockwise arc runs clockwise: its ends swap.
void Place(AcDbArc& arc, const Similarity& s) {
  const double start = s.Angle(arc.startAngle());
  const double end = s.Angle(arc.endAngle());
  (void)arc.setCenter(s.placement.Apply(arc.center()));
  (void)arc.setRadius(arc.radius() * s.k);
  (void)arc.setStartAngle(s.sigma > 0 ? start : end);
  (void)arc.setEndAngle(s.sigma > 0 ? end : start);
}

// Text stays readable: it turns with the reference but is not mirrored.
void Place(AcDbText& text, const Similarity& s) {
  (void)text.setPosition(s.placement.Apply(text.position()));
  (void)text.setHeight(text.height() * s.k);
  (void)text.setRotation(s.Angle(text.rotation()));
}

void Place(AcDbRotatedDimension& dimension, const Similarity& s) {
  (void)dimension.setXLine1Point(s.placement.Apply(dimension.xLine1Point()));
  (void)dimension.setXLine2Point(s.placement.Apply(dimension.xLine2Point()));
  (void)dimension.setDimLinePoint(s.placement.Apply(dimension.dimLinePoint()));
  (void)dimension.setRotation(s.Angle(dimension.rotation()));
}

void Place(AcDbBlockReference& nested, const Similarity& s) {
  const AcGeScale3d scale = nested.scaleFactors();
  (void)nested.setPosition(s.placement.Apply(nested.position()));
  (void)nested.setScaleFactors(
      AcGeScale3d(scale.sx * s.k, scale.sy * s.k * s.sigma, scale.sz * s.k));
  (void)nested.setRotation(s.Angle(nested.rotation()));
}

void Place(AcDbEntity& entity, const Similarity& s) {
  if (auto* line = AcDbLine::cast(&entity)) return Place(*line, s);
  if (auto* circle = AcDbCircle::cast(&entity)) return Place(*circle, s);
  if (auto* arc = AcDbArc::cast(&entity)) return Place(*arc, s);
  if (auto* text = AcDbText::cast(&entity)) return Place(*text, s);
  if (auto* dimension = AcDbRotatedDimension::cast(&entity)) return Place(*dimension, s);
  if (auto* nested = AcDbBlockReference::cast(&entity)) return Place(*nested, s);
}

bool SameMagnitude(double a, double b) {
  return std::fabs(std::fabs(a) - std::fabs(b)) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

std::optional<std::vector<std::unique_ptr<AcDbEntity>>> ExplodeReference(
    const AcDbBlockReference& reference) {
  const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(reference.blockTableRecord());
  const AcGeScale3d scale = reference.scaleFactors();
  if (block == nullptr || block->isFromExternalReference() ||
      AcDbImpDatabase::ForeignContents(*block) || !SameMagnitude(scale.sx, scale.sy)) {
    return std::nullopt;
  }
  Similarity similarity;
  similarity.placement = Placement::Of(reference, block->origin());
  similarity.k = std::fabs(scale.sx);
  similarity.alpha = reference.rotation() + (scale.sx < 0 ? std::numbers::pi : 0);
  similarity.sigma = scale.sx * scale.sy < 0 ? -1 : 1;

  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  for (AcDbObjectId id : AcDbImpDatabase::Entities(*block)) {
    if (AcDbImpDatabase::IsErased(id)) continue;
    const auto* entity = AcDbImpDatabase::PeekAs<AcDbEntity>(id);
    std::unique_ptr<AcDbEntity> copy(static_cast<AcDbEntity*>(entity->clone()));
    Place(*copy, similarity);
    pieces.push_back(std::move(copy));
  }
  return pieces;
}

}  // namespace minicad
