// An object's colour by the host's colour index: 0 ByBlock, 1-255 the index colours, 256
// ByLayer.
#pragma once

#include "arx/adesk.h"

class AcCmColor {
 public:
  static constexpr Adesk::UInt16 kByBlock = 0;
  static constexpr Adesk::UInt16 kByLayer = 256;

  constexpr AcCmColor() = default;

  Adesk::UInt16 colorIndex() const { return index_; }
  // eInvalidInput, changing nothing, for an index above 256.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 colorIndex) {
    if (colorIndex > kByLayer) return Acad::eInvalidInput;
    index_ = colorIndex;
    return Acad::eOk;
  }
  bool isByLayer() const { return index_ == kByLayer; }
  bool isByBlock() const { return index_ == kByBlock; }
  void setByLayer() { index_ = kByLayer; }
  void setByBlock() { index_ = kByBlock; }

  bool operator==(const AcCmColor& other) const = default;

 private:
  Adesk::UInt16 index_ = kByLayer;
};
