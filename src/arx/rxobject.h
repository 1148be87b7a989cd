// The host's run-time object root and its system registry, a dictionary of named services
// ("ACAD_REGISTERED_COMMANDS", "DynamicLinker", "AcEditor").
#pragma once

#include "arx/adesk.h"

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
};

// The run-time description of a class: its name and the class it derives from. The host makes
// one per class; `isKindOf` and `cast` of the database classes use them.
class AcRxClass {
 public:
  AcRxClass(const ACHAR* name, const AcRxClass* parent) : name_(name), parent_(parent) {}
  const ACHAR* name() const { return name_; }
  const AcRxClass* myParent() const { return parent_; }
  // True for this class and every class derived from it.
  bool isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* c = this; c != nullptr; c = c->parent_) {
      if (c == other) return true;
    }
    return false;
  }

 private:
  const ACHAR* name_;
  const AcRxClass* parent_;
};

// What every database class declares: its description, a checked cast from any object of the
// run-time root, and the description of the object's own class.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                               \
  static AcRxClass* desc();                                            \
  static CLASS_NAME* cast(const AcRxObject* object) {                  \
    return dynamic_cast<CLASS_NAME*>(const_cast<AcRxObject*>(object)); \
  }                                                                    \
  AcRxClass* isA() const override

class AcRxDictionary : public AcRxObject {
 public:
  // The object stored under `key`, or nullptr. The dictionary keeps ownership.
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The host's system registry; lives as long as the host process.
AcRxDictionary* acrxSysRegistry();

#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"
#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACED_EDITOR_OBJ L"AcEditor"
