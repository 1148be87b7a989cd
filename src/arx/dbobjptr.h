// A database object held open for as long as the pointer lives: closed on every way out, so no
// object a module opens stays open after an error.
#pragma once

#include <utility>

#include "arx/dbmain.h"

template <class T_OBJECT>
class AcDbObjectPointer {
 public:
  AcDbObjectPointer() = default;
  AcDbObjectPointer(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    (void)open(id, mode, openErased);
  }
  ~AcDbObjectPointer() { (void)close(); }
  AcDbObjectPointer(const AcDbObjectPointer&) = delete;
  AcDbObjectPointer& operator=(const AcDbObjectPointer&) = delete;

  // Closes what is held, then opens the object as T_OBJECT; the status is also kept for
  // openStatus(). Null on failure.
  Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    (void)close();
    status_ = acdbOpenObject(object_, id, mode, openErased);
    return status_;
  }
  // Takes over an object opened elsewhere (a record just added, one a table handed out); it is
  // closed with this pointer.
  Acad::ErrorStatus acquire(T_OBJECT*& object) {
    (void)close();
    object_ = std::exchange(object, nullptr);
    status_ = object_ == nullptr ? Acad::eNullObjectPointer : Acad::eOk;
    return status_;
  }
  Acad::ErrorStatus close() {
    if (object_ == nullptr) return Acad::eOk;
    status_ = Acad::eNullObjectPointer;
    return std::exchange(object_, nullptr)->close();
  }

  Acad::ErrorStatus openStatus() const { return status_; }
  T_OBJECT* object() const { return object_; }
  T_OBJECT* operator->() const { return object_; }

 private:
  T_OBJECT* object_ = nullptr;
  Acad::ErrorStatus status_ = Acad::eNullObjectPointer;
};
