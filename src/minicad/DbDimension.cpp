// Dimensions: the text that replaces the measurement, and the rotated linear dimension.
#include <cmath>

#include "arx/dbdim.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/CallerText.h"
#include "minicad/Finite.h"

namespace {

Acad::ErrorStatus SetPoint(const AcDbObject& object, AcGePoint3d& field, const AcGePoint3d& p) {
  if (!object.isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!minicad::IsFinite(p)) return Acad::eInvalidInput;
  field = p;
  return Acad::eOk;
}

}  // namespace

AcDbDimension::~AcDbDimension() = default;

ACHAR* AcDbDimension::dimensionText() const { return minicad::CopyForCaller(mText); }

Acad::ErrorStatus AcDbDimension::setDimensionText(const ACHAR* text) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  std::wstring value = minicad::TextOf(text);
  if (value.size() > AcDbText::kMaxTextLength ||
      value.find_first_of(L"\r\n") != std::wstring::npos) {
    return Acad::eInvalidInput;
  }
  mText = std::move(value);
  return Acad::eOk;
}

AcDbRotatedDimension::AcDbRotatedDimension() = default;

AcDbRotatedDimension::AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point,
                                           const AcGePoint3d& xLine2Point,
                                           const AcGePoint3d& dimLinePoint, const ACHAR* dimText,
                                           AcDbObjectId)
    : mXLine1(xLine1Point), mXLine2(xLine2Point), mDimLine(dimLinePoint), mRotation(rotation) {
  (void)setDimensionText(dimText);
}

AcDbRotatedDimension::~AcDbRotatedDimension() = default;

AcDbObject* AcDbRotatedDimension::clone() const { return new AcDbRotatedDimension(*this); }

AcGePoint3d AcDbRotatedDimension::xLine1Point() const { return mXLine1; }
Acad::ErrorStatus AcDbRotatedDimension::setXLine1Point(const AcGePoint3d& point) {
  return SetPoint(*this, mXLine1, point);
}
AcGePoint3d AcDbRotatedDimension::xLine2Point() const { return mXLine2; }
Acad::ErrorStatus AcDbRotatedDimension::setXLine2Point(const AcGePoint3d& point) {
  return SetPoint(*this, mXLine2, point);
}
AcGePoint3d AcDbRotatedDimension::dimLinePoint() const { return mDimLine; }
Acad::ErrorStatus AcDbRotatedDimension::setDimLinePoint(const AcGePoint3d& point) {
  return SetPoint(*this, mDimLine, point);
}
double AcDbRotatedDimension::rotation() const { return mRotation; }
Acad::ErrorStatus AcDbRotatedDimension::setRotation(double rotation) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!minicad::IsFinite(rotation)) return Acad::eInvalidInput;
  mRotation = rotation;
  return Acad::eOk;
}

// The distance of the two extension-line origins along the dimension's direction.
Acad::ErrorStatus AcDbRotatedDimension::measurement(double& value) const {
  const AcGeVector3d d = mXLine2 - mXLine1;
  value = std::fabs(d.x * std::cos(mRotation) + d.y * std::sin(mRotation));
  return Acad::eOk;
}
