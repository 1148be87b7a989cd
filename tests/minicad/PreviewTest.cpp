// Previews of model space and exploded references: where the objects land.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "fw/PackedDib.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/ExplodedReference.h"
#include "minicad/PreviewImage.h"
#include "minicad/PreviewRenderer.h"

namespace {

constexpr double kPi = std::numbers::pi;

void Append(AcDbDatabase& database, AcDbObjectId block, AcDbEntity* entity) {
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, block, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
  entity->close();
  record->close();
  (void)database;
}

// An L of a 100-unit line along x (colour 1) and a 50-unit line along y (colour 7).
TEST(Preview, DrawsEveryObjectInsideTheViewOnTheBackground) {
  AcDbDatabase database;
  const AcDbObjectId space = AcDbImpDatabase::Of(database).Standard().modelSpace;
  auto* along = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0));
  along->setColorIndex(1);
  Append(database, space, along);
  Append(database, space, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 50, 0)));
  for (const fw::COLORREF background : {fw::RGB(0, 0, 0), fw::RGB(255, 255, 255)}) {
    const minicad::RenderedPreview preview =
        minicad::RenderModelSpace(AcDbImpDatabase::Of(database), 256, 188, background);
    const minicad::ModelView& view = preview.view;
    EXPECT_NEAR(view.width / view.height, 256.0 / 188.0, 1e-9);
    EXPECT_GT(view.width, 100);
    EXPECT_NEAR(view.centreX, 50, 1e-9);
    auto pixel = [&](double x, double y) {
      const int px = static_cast<int>((x - (view.centreX - view.width / 2)) / view.width * 256);
      const int py =
          static_cast<int>(188 - (y - (view.centreY - view.height / 2)) / view.height * 188);
      return preview.image.GetPixel(px, py);
    };
    const fw::COLORREF ink =
        background == fw::RGB(0, 0, 0) ? fw::RGB(255, 255, 255) : fw::RGB(0, 0, 0);
    EXPECT_EQ(pixel(50, 0), fw::RGB(255, 0, 0));
    EXPECT_EQ(pixel(0, 25), ink);
    EXPECT_EQ(pixel(50, 25), background);

    // The stored bitmap: palette entry 0 is the background, the line's pixel index 1 is red.
    const minicad::StoredPreview stored = minicad::EncodeBmpPreview(preview.image, background);
    auto dib = fw::PackedDib::Parse(stored.bytes);
    ASSERT_TRUE(dib.Ok());
    EXPECT_EQ(dib.Value().ColourOf(0), background);
    EXPECT_EQ(dib.Value().ColourOf(1), fw::RGB(255, 0, 0));
    auto converted = minicad::ConvertPreview(stored, true);
    ASSERT_TRUE(converted && converted->png);
  }
}

// A block of a line, an arc and a text, exploded by references that scale, turn and mirror it.
TEST(ExplodedReference, PlacesEachObjectAsTheReferencePlacesTheBlock) {
  AcDbDatabase database;
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(database.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord;
  block->setName(L"B");
  block->setOrigin(AcGePoint3d(1, 0, 0));
  AcDbObjectId blockId;
  ASSERT_EQ(table->add(blockId, block), Acad::eOk);
  block->close();
  table->close();
  Append(database, blockId, new AcDbLine(AcGePoint3d(1, 0, 0), AcGePoint3d(3, 0, 0)));
  Append(database, blockId, new AcDbArc(AcGePoint3d(1, 0, 0), 1, 0, kPi / 2));
  Append(database, blockId, new AcDbText(AcGePoint3d(1, 1, 0), L"T", AcDbObjectId::kNull, 1, 0));

  struct Case {
    AcGeScale3d scale;
    double rotation;
    AcGePoint3d lineEnd;
    double arcStart, arcEnd, textRotation, textHeight;
  };
  const Case cases[] = {
      {AcGeScale3d(2), kPi / 2, {10, 14, 0}, kPi / 2, kPi, kPi / 2, 2},
      {AcGeScale3d(-1, 1, 1), 0, {8, 10, 0}, kPi / 2, kPi, kPi, 1},
      {AcGeScale3d(1, -1, 1), 0, {12, 10, 0}, -kPi / 2, 0, 0, 1},
  };
  for (const Case& c : cases) {
    AcDbBlockReference reference(AcGePoint3d(10, 10, 0), blockId);
    ASSERT_EQ(reference.setScaleFactors(c.scale), Acad::eOk);
    ASSERT_EQ(reference.setRotation(c.rotation), Acad::eOk);
    auto pieces = minicad::ExplodeReference(reference);
    ASSERT_TRUE(pieces && pieces->size() == 3u);
    const auto* line = AcDbLine::cast((*pieces)[0].get());
    const auto* arc = AcDbArc::cast((*pieces)[1].get());
    const auto* text = AcDbText::cast((*pieces)[2].get());
    EXPECT_NEAR(line->startPoint().x, 10, 1e-9);
    EXPECT_NEAR(line->endPoint().x, c.lineEnd.x, 1e-9);
    EXPECT_NEAR(line->endPoint().y, c.lineEnd.y, 1e-9);
    EXPECT_NEAR(std::remainder(arc->startAngle() - c.arcStart, 2 * kPi), 0, 1e-9);
    EXPECT_NEAR(std::remainder(arc->endAngle() - c.arcEnd, 2 * kPi), 0, 1e-9);
    EXPECT_NEAR(std::remainder(text->rotation() - c.textRotation, 2 * kPi), 0, 1e-9);
    EXPECT_NEAR(text->height(), c.textHeight, 1e-9);
  }
  AcDbBlockReference stretched(AcGePoint3d(), blockId);
  ASSERT_EQ(stretched.setScaleFactors(AcGeScale3d(2, 1, 1)), Acad::eOk);
  EXPECT_FALSE(minicad::ExplodeReference(stretched));
}

}  // namespace
