// The drawn objects: lines, circles, arcs, single-line text, attribute definitions and block
// references. Angles are radians, counter-clockwise from the x axis. Every setter needs the
// object open for write (eNotOpenForWrite otherwise) unless it belongs to no database.
#pragma once

#include <string>

#include "arx/dbmain.h"
#include "arx/gescl3d.h"

class AcDbLine : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine);
  AcDbLine();
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
  ~AcDbLine() override;
  AcDbObject* clone() const override;

  AcGePoint3d startPoint() const;
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
  AcGePoint3d endPoint() const;
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);

 private:
  AcGePoint3d mStart;
  AcGePoint3d mEnd;
};

class AcDbCircle : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  AcDbCircle();
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  ~AcDbCircle() override;
  AcDbObject* clone() const override;

  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const;
  // eInvalidInput for a radius that is not positive.
  Acad::ErrorStatus setRadius(double radius);
  AcGeVector3d normal() const;

 private:
  AcGePoint3d mCenter;
  AcGeVector3d mNormal = AcGeVector3d::kZAxis;
  double mRadius = 1;
};

class AcDbArc : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbArc);
  AcDbArc();
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  ~AcDbArc() override;
  AcDbObject* clone() const override;

  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const;
  Acad::ErrorStatus setRadius(double radius);
  // The arc runs counter-clockwise from the start angle to the end angle.
  double startAngle() const;
  Acad::ErrorStatus setStartAngle(double angle);
  double endAngle() const;
  Acad::ErrorStatus setEndAngle(double angle);

 private:
  AcGePoint3d mCenter;
  double mRadius = 1;
  double mStartAngle = 0;
  double mEndAngle = 0;
};

// Single-line text, left-aligned at its position.
class AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText);
  AcDbText();
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0, double rotation = 0);
  ~AcDbText() override;
  AcDbObject* clone() const override;

  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  // A copy the caller releases with acutDelString.
  ACHAR* textString() const;
  // The object's own text, valid while it is open.
  const ACHAR* textStringConst() const;
  // eInvalidInput for text longer than kMaxTextLength characters or holding a line end.
  Acad::ErrorStatus setTextString(const ACHAR* text);
  double height() const;
  Acad::ErrorStatus setHeight(double height);
  double rotation() const;
  Acad::ErrorStatus setRotation(double rotation);

  static constexpr std::size_t kMaxTextLength = 4096;

 private:
  AcGePoint3d mPosition;
  std::wstring mText;
  double mHeight = 0;
  double mRotation = 0;
};

// The definition of an attribute inside a block: a tag, a prompt and a default value (its
// text), drawn as text.
class AcDbAttributeDefinition : public AcDbText {
 public:
  ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition);
  AcDbAttributeDefinition();
  AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                          const ACHAR* prompt, AcDbObjectId style = AcDbObjectId::kNull);
  ~AcDbAttributeDefinition() override;
  AcDbObject* clone() const override;

  // Copies the caller releases with acutDelString.
  ACHAR* tag() const;
  const ACHAR* tagConst() const;
  // eInvalidInput for an empty tag or one holding a blank or a control character.
  Acad::ErrorStatus setTag(const ACHAR* tag);
  ACHAR* prompt() const;
  const ACHAR* promptConst() const;
  Acad::ErrorStatus setPrompt(const ACHAR* prompt);

  bool isInvisible() const;
  Acad::ErrorStatus setInvisible(bool value);
  bool isConstant() const;
  Acad::ErrorStatus setConstant(bool value);
  bool isVerifiable() const;
  Acad::ErrorStatus setVerifiable(bool value);
  bool isPreset() const;
  Acad::ErrorStatus setPreset(bool value);

 private:
  std::wstring mTag;
  std::wstring mPrompt;
  bool mInvisible = false;
  bool mConstant = false;
  bool mVerifiable = false;
  bool mPreset = false;
};

// A placed block: the definition's objects moved to `position`, scaled, then rotated.
class AcDbBlockReference : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  AcDbBlockReference();
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
  ~AcDbBlockReference() override;
  AcDbObject* clone() const override;

  AcDbObjectId blockTableRecord() const;
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId blockTableRec);
  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGeScale3d scaleFactors() const;
  // eInvalidInput for a zero factor.
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const;
  Acad::ErrorStatus setRotation(double rotation);

 private:
  AcDbObjectId mBlock;
  AcGePoint3d mPosition;
  AcGeScale3d mScale;
  double mRotation = 0;
};
