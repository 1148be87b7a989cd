// Drawing model space into a preview: one walk over the objects finds their extents, a second
// draws them as polylines with the framework's line rules.
#include "minicad/PreviewRenderer.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <functional>
#include <numbers>
#include <vector>

#include "arx/dbdim.h"
#include "fw/AciColours.h"
#include "minicad/Placement.h"

namespace minicad {
namespace {

// Objects drawn at most, references expanded; a drawing of nested references can otherwise
// multiply into more objects than any preview needs.
constexpr std::size_t kMaxDrawnObjects = 200000;
// References nested deeper than this are not expanded.
constexpr int kMaxNesting = 32;
// Segments of a full circle.
constexpr int kCircleSegments = 48;
// The text box's width per character, as a share of the text height.
constexpr double kCharacterWidth = 0.7;
// Empty room around the objects, as a share of their extent.
constexpr double kMargin = 0.05;

constexpr std::uint16_t kContrastIndex = 7;

using Polyline = std::vector<AcGePoint3d>;
// Receives each object's outline (placed in model space) and its colour index.
using Sink = std::function<void(const Polyline&, int colourIndex)>;

Polyline ArcPoints(const AcGePoint3d& centre, double radius, double start, double end) {
  double sweep = end - start;
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  const int segments =
      std::max(2, static_cast<int>(kCircleSegments * sweep / (2 * std::numbers::pi)));
  Polyline points;
  for (int i = 0; i <= segments; ++i) {
    const double angle = start + sweep * i / segments;
    points.push_back(
        {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), centre.z});
  }
  return points;
}

Polyline TextBox(const AcGePoint3d& at, double height, double rotation, std::size_t characters) {
  const double width =
      kCharacterWidth * height * static_cast<double>(std::max<std::size_t>(characters, 1));
  const double cosine = std::cos(rotation);
  const double sine = std::sin(rotation);
  auto corner = [&](double x, double y) {
    return AcGePoint3d(at.x + x * cosine - y * sine, at.y + x * sine + y * cosine, at.z);
  };
  return {corner(0, 0), corner(width, 0), corner(width, height), corner(0, height), corner(0, 0)};
}

// The three lines of a linear dimension: an extension line from each origin to the dimension
// line, and the dimension line between them.
std::vector<Polyline> DimensionLines(const AcDbRotatedDimension& dimension) {
  const double cosine = std::cos(dimension.rotation());
  const double sine = std::sin(dimension.rotation());
  const AcGePoint3d line = dimension.dimLinePoint();
  auto onLine = [&](const AcGePoint3d& p) {
    const double along = (p.x - line.x) * cosine + (p.y - line.y) * sine;
    return AcGePoint3d(line.x + along * cosine, line.y + along * sine, p.z);
  };
  const AcGePoint3d first = onLine(dimension.xLine1Point());
  const AcGePoint3d second = onLine(dimension.xLine2Point());
  return {{dimension.xLine1Point(), first}, {dimension.xLine2Point(), second}, {first, second}};
}

class Walker {
 public:
  explicit Walker(const Sink& sink) : sink_(sink) {}

  void Walk(AcDbObjectId blockId, const Placement& placement, int inherited, int depth) {
    const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(blockId);
    if (block == nullptr || depth > kMaxNesting) return;
    for (AcDbObjectId id : AcDbImpDatabase::Entities(*block)) {
      if (drawn_ >= kMaxDrawnObjects) return;
      if (AcDbImpDatabase::IsErased(id)) continue;
      const auto* entity = AcDbImpDatabase::PeekAs<AcDbEntity>(id);
      if (entity == nullptr) continue;
      ++drawn_;
      Visit(*entity, placement, ColourOf(*entity, inherited), depth);
    }
  }

 private:
  static int ColourOf(const AcDbEntity& entity, int inherited) {
    const int index = entity.colorIndex();
    if (index == AcCmColor::kByBlock) return inherited;
    if (index != AcCmColor::kByLayer) return index;
    const auto* layer = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(entity.layerId());
    return layer == nullptr ? kContrastIndex : layer->color().colorIndex();
  }

  void Emit(Polyline points, const Placement& placement, int colour) {
    for (AcGePoint3d& p : points) p = placement.Apply(p);
    sink_(points, colour);
  }

  void Visit(const AcDbEntity& entity, const Placement& placement, int colour, int depth) {
    if (const auto* line = AcDbLine::cast(&entity)) {
      Emit({line->startPoint(), line->endPoint()}, placement, colour);
    } else if (const auto* circle = AcDbCircle::cast(&entity)) {
      Emit(ArcPoints(circle->center(), circle->radius(), 0, 2 * std::numbers::pi), placement,
           colour);
    } else if (const auto* arc = AcDbArc::cast(&entity)) {
      Emit(ArcPoints(arc->center(), arc->radius(), arc->startAngle(), arc->endAngle()), placement,
           colour);
    } else if (const auto* definition = AcDbAttributeDefinition::cast(&entity)) {
      Emit(TextBox(definition->position(), definition->height(), definition->rotation(),
                   std::wcslen(definition->tagConst())),
           placement, colour);
    } else if (const auto* text = AcDbText::cast(&entity)) {
      Emit(TextBox(text->position(), text->height(), text->rotation(),
                   std::wcslen(text->textStringConst())),
           placement, colour);
    } else if (const auto* dimension = AcDbRotatedDimension::cast(&entity)) {
      for (Polyline& line : DimensionLines(*dimension)) Emit(std::move(line), placement, colour);
    } else if (const auto* reference = AcDbBlockReference::cast(&entity)) {
      const auto* block =
          AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(reference->blockTableRecord());
      if (block == nullptr) return;
      Walk(reference->blockTableRecord(),
           placement.After(Placement::Of(*reference, block->origin())), colour, depth + 1);
    }
  }

  const Sink& sink_;
  std::size_t drawn_ = 0;
};

struct Extents {
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  bool Empty() const { return minX > maxX; }
  void Add(const AcGePoint3d& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
};

// The view of the extents with a margin, widened in one direction to the image's shape.
ModelView FitView(const Extents& extents, int width, int height) {
  ModelView view;
  const double aspect = static_cast<double>(width) / height;
  if (extents.Empty()) {
    view.height = 10;
    view.width = view.height * aspect;
    return view;
  }
  double w = (extents.maxX - extents.minX) * (1 + 2 * kMargin);
  double h = (extents.maxY - extents.minY) * (1 + 2 * kMargin);
  if (!(w > 0) && !(h > 0)) w = h = 1;
  if (w < h * aspect) w = h * aspect;
  h = w / aspect;
  view.centreX = (extents.minX + extents.maxX) / 2;
  view.centreY = (extents.minY + extents.maxY) / 2;
  view.width = w;
  view.height = h;
  return view;
}

}  // namespace

RenderedPreview RenderModelSpace(const AcDbImpDatabase& database, int width, int height,
                                 fw::COLORREF background) {
  const AcDbObjectId modelSpace = database.Standard().modelSpace;
  Extents extents;
  const Sink measure = [&](const Polyline& points, int) {
    for (const AcGePoint3d& p : points) extents.Add(p);
  };
  Walker(measure).Walk(modelSpace, Placement{}, kContrastIndex, 0);

  RenderedPreview preview{fw::Bitmap(width, height), FitView(extents, width, height)};
  fw::CDC dc(preview.image);
  dc.FillRect(0, 0, width, height, background);
  const ModelView& view = preview.view;
  const double left = view.centreX - view.width / 2;
  const double bottom = view.centreY - view.height / 2;
  // Every point lies inside the view; the clamp only keeps rounding at the edges in bounds.
  auto pixel = [&](const AcGePoint3d& p) {
    const double x = (p.x - left) / view.width * width;
    const double y = height - (p.y - bottom) / view.height * height;
    return std::pair<int, int>(static_cast<int>(std::clamp(x, 0.0, width - 1.0)),
                               static_cast<int>(std::clamp(y, 0.0, height - 1.0)));
  };
  const Sink draw = [&](const Polyline& points, int colourIndex) {
    dc.SetPenColour(fw::AciColour(colourIndex, background));
    const auto [x0, y0] = pixel(points.front());
    dc.MoveTo(x0, y0);
    for (const AcGePoint3d& p : points) {
      const auto [x, y] = pixel(p);
      dc.LineTo(x, y);
    }
    const auto [xEnd, yEnd] = pixel(points.back());
    preview.image.SetPixel(xEnd, yEnd, dc.PenColour());
  };
  Walker(draw).Walk(modelSpace, Placement{}, kContrastIndex, 0);
  return preview;
}

}  // namespace minicad
