// The internal directory's blocks: the block definitions of the current drawing, read from its
// block table under the document's lock.
#include <string>
#include <string_view>

#include "arx/acdocman.h"
#include "arx/dbapserv.h"
#include "arx/dbmain.h"
#include "arx/dbsymtb.h"
#include "library/LoaderControl.h"

namespace library {
namespace {

// A definition the user could insert by name: not model or paper space, not one the host names
// itself, and not one that comes with an external reference (attached or overlaid; their
// dependent records carry "|" in the name).
bool IsListed(const AcDbBlockTableRecord& record, std::wstring_view name) {
  return !record.isLayout() && !record.isAnonymous() && !record.isFromExternalReference() &&
         !record.isFromOverlayReference() && name.find(L'|') == std::wstring_view::npos;
}

// Reads the open table's records in order; each record is closed before the next is opened.
void ReadRecords(const AcDbBlockTable& table, std::vector<InternalBlock>& blocks) {
  AcDbBlockTableIterator* iterator = nullptr;
  if (table.newIterator(iterator) != Acad::eOk || iterator == nullptr) return;
  for (; !iterator->done(); iterator->step()) {
    AcDbBlockTableRecord* record = nullptr;
    if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk || record == nullptr) continue;
    const ACHAR* name = nullptr;
    const ACHAR* comments = nullptr;
    if (record->getName(name) == Acad::eOk && name != nullptr && IsListed(*record, name)) {
      if (record->comments(comments) != Acad::eOk || comments == nullptr) comments = L"";
      blocks.push_back(InternalBlock{name, comments});
    }
    record->close();
  }
  delete iterator;
}

}  // namespace

std::vector<InternalBlock> ReadInternalBlocks() {
  std::vector<InternalBlock> blocks;
  AcApDocument* document = acDocManager->curDocument();
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  if (document == nullptr || database == nullptr) return blocks;
  if (acDocManager->lockDocument(document, AcAp::kWrite) != Acad::eOk) return blocks;
  AcDbBlockTable* table = nullptr;
  // A table another thread has open for write is not read: the directory stays empty until it
  // is loaded again.
  if (database->getBlockTable(table, AcDb::kForRead) == Acad::eOk && table != nullptr) {
    ReadRecords(*table, blocks);
    table->close();
  }
  (void)acDocManager->unlockDocument(document);
  return blocks;
}

}  // namespace library
