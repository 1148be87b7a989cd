// An object opened for as long as this holder lives: closed on every way out.
#pragma once

#include <utility>

#include "arx/dbmain.h"

namespace minicad {

template <class T>
class Opened {
 public:
  Opened() = default;
  ~Opened() { Close(); }
  Opened(const Opened&) = delete;
  Opened& operator=(const Opened&) = delete;

  Acad::ErrorStatus Open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    Close();
    return acdbOpenObject(object_, id, mode, openErased);
  }
  // Takes an object opened elsewhere (a record just added, an entity just appended).
  void Adopt(T* object) {
    Close();
    object_ = object;
  }
  void Close() {
    if (object_ != nullptr) std::exchange(object_, nullptr)->close();
  }

  T* operator->() const { return object_; }
  T* Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace minicad
