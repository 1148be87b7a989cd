// The working database: one set by a module, else the current document's.
#include "minicad/HostApplicationServices.h"

#include <atomic>

#include "arx/dbapserv.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/Host.h"

namespace minicad {
namespace {

std::atomic<AcDbDatabase*> explicitWorkingDatabase{nullptr};

}  // namespace

void ForgetWorkingDatabase(const AcDbDatabase* database) {
  AcDbDatabase* expected = const_cast<AcDbDatabase*>(database);
  explicitWorkingDatabase.compare_exchange_strong(expected, nullptr);
}

}  // namespace minicad

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
  if (AcDbDatabase* set = minicad::explicitWorkingDatabase.load()) return set;
  minicad::Host* host = minicad::Host::Current();
  if (host == nullptr) return nullptr;
  minicad::DocManager& documents = host->Docs();
  minicad::Document* current = documents.Find(documents.curDocument());
  return current == nullptr ? nullptr : &current->Database();
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* pDatabase) {
  minicad::explicitWorkingDatabase.store(pDatabase);
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}
