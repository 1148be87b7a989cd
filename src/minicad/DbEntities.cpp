// Lines, circles, arcs, text, attribute definitions and block references.
#include "minicad/AcDbImpDatabase.h"
#include "minicad/CallerText.h"
#include "minicad/Finite.h"

namespace {

using minicad::IsFinite;

// Sets `field` when the object may change and `valid` holds.
template <class Field>
Acad::ErrorStatus Assign(const AcDbObject& object, Field& field, const Field& value,
                         bool valid = true) {
  if (!object.isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!valid) return Acad::eInvalidInput;
  field = value;
  return Acad::eOk;
}

bool IsSingleLine(const std::wstring& text, std::size_t maxLength) {
  return text.size() <= maxLength && text.find_first_of(L"\r\n") == std::wstring::npos;
}

}  // namespace

// --- Line -------------------------------------------------------------------------------------

AcDbLine::AcDbLine() = default;
AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : mStart(start), mEnd(end) {}
AcDbLine::~AcDbLine() = default;
AcDbObject* AcDbLine::clone() const { return new AcDbLine(*this); }

AcGePoint3d AcDbLine::startPoint() const { return mStart; }
Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
  return Assign(*this, mStart, point, IsFinite(point));
}
AcGePoint3d AcDbLine::endPoint() const { return mEnd; }
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
  return Assign(*this, mEnd, point, IsFinite(point));
}

// --- Circle -----------------------------------------------------------------------------------

AcDbCircle::AcDbCircle() = default;
AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : mCenter(center), mNormal(normal), mRadius(radius) {}
AcDbCircle::~AcDbCircle() = default;
AcDbObject* AcDbCircle::clone() const { return new AcDbCircle(*this); }

AcGePoint3d AcDbCircle::center() const { return mCenter; }
Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
  return Assign(*this, mCenter, center, IsFinite(center));
}
double AcDbCircle::radius() const { return mRadius; }
Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  return Assign(*this, mRadius, radius, IsFinite(radius) && radius > 0);
}
AcGeVector3d AcDbCircle::normal() const { return mNormal; }

// --- Arc --------------------------------------------------------------------------------------

AcDbArc::AcDbArc() = default;
AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : mCenter(center), mRadius(radius), mStartAngle(startAngle), mEndAngle(endAngle) {}
AcDbArc::~AcDbArc() = default;
AcDbObject* AcDbArc::clone() const { return new AcDbArc(*this); }

AcGePoint3d AcDbArc::center() const { return mCenter; }
Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center) {
  return Assign(*this, mCenter, center, IsFinite(center));
}
double AcDbArc::radius() const { return mRadius; }
Acad::ErrorStatus AcDbArc::setRadius(double radius) {
  return Assign(*this, mRadius, radius, IsFinite(radius) && radius > 0);
}
double AcDbArc::startAngle() const { return mStartAngle; }
Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
  return Assign(*this, mStartAngle, angle, IsFinite(angle));
}
double AcDbArc::endAngle() const { return mEndAngle; }
Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
  return Assign(*this, mEndAngle, angle, IsFinite(angle));
}

// --- Text -------------------------------------------------------------------------------------

AcDbText::AcDbText() = default;
AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId, double height,
                   double rotation)
    : mPosition(position), mText(minicad::TextOf(text)), mHeight(height), mRotation(rotation) {}
AcDbText::~AcDbText() = default;
AcDbObject* AcDbText::clone() const { return new AcDbText(*this); }

AcGePoint3d AcDbText::position() const { return mPosition; }
Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
  return Assign(*this, mPosition, position, IsFinite(position));
}
ACHAR* AcDbText::textString() const { return minicad::CopyForCaller(mText); }
const ACHAR* AcDbText::textStringConst() const { return mText.c_str(); }
Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  const std::wstring value = minicad::TextOf(text);
  return Assign(*this, mText, value, IsSingleLine(value, kMaxTextLength));
}
double AcDbText::height() const { return mHeight; }
Acad::ErrorStatus AcDbText::setHeight(double height) {
  return Assign(*this, mHeight, height, IsFinite(height) && height >= 0);
}
double AcDbText::rotation() const { return mRotation; }
Acad::ErrorStatus AcDbText::setRotation(double rotation) {
  return Assign(*this, mRotation, rotation, IsFinite(rotation));
}

// --- Attribute definition ---------------------------------------------------------------------

namespace {

bool IsTag(const std::wstring& tag) {
  if (tag.empty() || tag.size() > AcDbText::kMaxTextLength) return false;
  for (wchar_t c : tag) {
    if (c <= L' ' || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

AcDbAttributeDefinition::AcDbAttributeDefinition() = default;
AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text,
                                                 const ACHAR* tag, const ACHAR* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style),
      mTag(minicad::TextOf(tag)),
      mPrompt(minicad::TextOf(prompt)) {}
AcDbAttributeDefinition::~AcDbAttributeDefinition() = default;
AcDbObject* AcDbAttributeDefinition::clone() const { return new AcDbAttributeDefinition(*this); }

ACHAR* AcDbAttributeDefinition::tag() const { return minicad::CopyForCaller(mTag); }
const ACHAR* AcDbAttributeDefinition::tagConst() const { return mTag.c_str(); }
Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag) {
  const std::wstring value = minicad::TextOf(tag);
  return Assign(*this, mTag, value, IsTag(value));
}
ACHAR* AcDbAttributeDefinition::prompt() const { return minicad::CopyForCaller(mPrompt); }
const ACHAR* AcDbAttributeDefinition::promptConst() const { return mPrompt.c_str(); }
Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
  const std::wstring value = minicad::TextOf(prompt);
  return Assign(*this, mPrompt, value, IsSingleLine(value, kMaxTextLength));
}
bool AcDbAttributeDefinition::isInvisible() const { return mInvisible; }
Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool value) {
  return Assign(*this, mInvisible, value);
}
bool AcDbAttributeDefinition::isConstant() const { return mConstant; }
Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool value) {
  return Assign(*this, mConstant, value);
}
bool AcDbAttributeDefinition::isVerifiable() const { return mVerifiable; }
Acad::ErrorStatus AcDbAttributeDefinition::setVerifiable(bool value) {
  return Assign(*this, mVerifiable, value);
}
bool AcDbAttributeDefinition::isPreset() const { return mPreset; }
Acad::ErrorStatus AcDbAttributeDefinition::setPreset(bool value) {
  return Assign(*this, mPreset, value);
}

// --- Block reference --------------------------------------------------------------------------

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlock(blockTableRec), mPosition(position) {}
AcDbBlockReference::~AcDbBlockReference() = default;
AcDbObject* AcDbBlockReference::clone() const { return new AcDbBlockReference(*this); }

AcDbObjectId AcDbBlockReference::blockTableRecord() const { return mBlock; }
Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId blockTableRec) {
  // A resident reference may only name a block that does not place its own owner.
  if (AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this)) {
    if (!database->Owns(blockTableRec) ||
        AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(blockTableRec) == nullptr) {
      return Acad::eInvalidInput;
    }
    for (AcDbObjectId placing : database->BlocksPlacing(ownerId())) {
      if (placing == blockTableRec) return Acad::eSelfReference;
    }
  }
  return Assign(*this, mBlock, blockTableRec);
}
AcGePoint3d AcDbBlockReference::position() const { return mPosition; }
Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& position) {
  return Assign(*this, mPosition, position, IsFinite(position));
}
AcGeScale3d AcDbBlockReference::scaleFactors() const { return mScale; }
Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale) {
  return Assign(*this, mScale, scale,
                IsFinite(scale) && scale.sx != 0 && scale.sy != 0 && scale.sz != 0);
}
double AcDbBlockReference::rotation() const { return mRotation; }
Acad::ErrorStatus AcDbBlockReference::setRotation(double rotation) {
  return Assign(*this, mRotation, rotation, IsFinite(rotation));
}
