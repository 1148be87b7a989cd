// The record behind an object id: which database owns the object, the object itself, its
// owner, whether it is erased, and how it is open. The database's mutex guards everything here
// but `object`'s own fields, which only whoever has the object open touches.
#pragma once

#include <memory>

#include "arx/dbmain.h"

class AcDbStub {
 public:
  AcDbImpDatabase* database = nullptr;
  std::unique_ptr<AcDbObject> object;
  AcDbObjectId owner;
  bool erased = false;
  int readers = 0;
  bool writer = false;
};

namespace minicad {

// Ids come from outside (an entity name handed back by a module, a stale id of a database since
// deleted), so every id is checked against the stubs alive in the process before it is used.
// Any thread.
void RegisterStub(const AcDbStub* stub);
void UnregisterStub(const AcDbStub* stub);
bool IsLiveStub(const AcDbStub* stub);

}  // namespace minicad
