// Dimensions: every dimension derives from AcDbDimension; a linear dimension measures the
// distance of two points along its rotation.
#pragma once

#include <string>

#include "arx/dbmain.h"

class AcDbDimension : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimension);
  ~AcDbDimension() override;

  // The text written instead of the measurement; empty shows the measurement. A copy the
  // caller releases with acutDelString.
  ACHAR* dimensionText() const;
  Acad::ErrorStatus setDimensionText(const ACHAR* text);
  // What the dimension measures, in drawing units.
  virtual Acad::ErrorStatus measurement(double& value) const = 0;

 protected:
  AcDbDimension() = default;
  AcDbDimension(const AcDbDimension& other) = default;

 private:
  std::wstring mText;
};

class AcDbRotatedDimension : public AcDbDimension {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRotatedDimension);
  AcDbRotatedDimension();
  AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point,
                       const AcGePoint3d& xLine2Point, const AcGePoint3d& dimLinePoint,
                       const ACHAR* dimText = nullptr, AcDbObjectId dimStyle = AcDbObjectId::kNull);
  ~AcDbRotatedDimension() override;
  AcDbObject* clone() const override;

  AcGePoint3d xLine1Point() const;
  Acad::ErrorStatus setXLine1Point(const AcGePoint3d& point);
  AcGePoint3d xLine2Point() const;
  Acad::ErrorStatus setXLine2Point(const AcGePoint3d& point);
  AcGePoint3d dimLinePoint() const;
  Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& point);
  // The direction the distance is measured in: 0 horizontal, pi/2 vertical.
  double rotation() const;
  Acad::ErrorStatus setRotation(double rotation);
  Acad::ErrorStatus measurement(double& value) const override;

 private:
  AcGePoint3d mXLine1;
  AcGePoint3d mXLine2;
  AcGePoint3d mDimLine;
  double mRotation = 0;
};
