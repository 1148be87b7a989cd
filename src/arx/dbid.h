// Object identifiers of the drawing database: opaque, null by default, comparable. The host
// hands them out for the objects of an open database; a module only stores and compares them.
#pragma once

#include <cstdint>

#include "arx/adesk.h"

namespace Adesk {
// An identifier as one integer, the form older interfaces used.
using IntDbId = Int64;
}  // namespace Adesk

// The host's handle to a database object; opaque to modules.
class AcDbStub;

class AcDbObjectId {
 public:
  static const AcDbObjectId kNull;

  AcDbObjectId() = default;
  AcDbObjectId(const AcDbStub* stub) : stub_(const_cast<AcDbStub*>(stub)) {}

  bool isNull() const { return stub_ == nullptr; }
  void setNull() { stub_ = nullptr; }

  Adesk::IntDbId asOldId() const {
    return static_cast<Adesk::IntDbId>(reinterpret_cast<std::intptr_t>(stub_));
  }
  AcDbObjectId& setFromOldId(Adesk::IntDbId oldId) {
    stub_ = reinterpret_cast<AcDbStub*>(static_cast<std::intptr_t>(oldId));
    return *this;
  }

  operator AcDbStub*() const { return stub_; }

  friend bool operator==(const AcDbObjectId& a, const AcDbObjectId& b) {
    return a.stub_ == b.stub_;
  }
  friend bool operator!=(const AcDbObjectId& a, const AcDbObjectId& b) {
    return a.stub_ != b.stub_;
  }
  friend bool operator<(const AcDbObjectId& a, const AcDbObjectId& b) { return a.stub_ < b.stub_; }
  friend bool operator>(const AcDbObjectId& a, const AcDbObjectId& b) { return b < a; }
  friend bool operator<=(const AcDbObjectId& a, const AcDbObjectId& b) { return !(b < a); }
  friend bool operator>=(const AcDbObjectId& a, const AcDbObjectId& b) { return !(a < b); }

 private:
  AcDbStub* stub_ = nullptr;
};

inline const AcDbObjectId AcDbObjectId::kNull{};
