// A drawing read from another thread under the document lock, as the library's loader reads the
// block table while the browser's dialog runs: no race, and the open rules keep the two threads
// apart.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "HostTestSupport.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

constexpr int kRounds = 200;

struct Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool tableOpen = false;
  bool writeTried = false;
  Acad::ErrorStatus writeWhileRead = Acad::eOk;
  std::atomic<int> readerRounds{0};
  std::atomic<int> blocksSeen{0};
};

Shared& State() {
  static Shared shared;
  return shared;
}

AcDbDatabase& WorkingDatabase() { return *acdbHostApplicationServices()->workingDatabase(); }

void AddBlock(const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(WorkingDatabase().getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord;
  block->setName(name);
  block->setComments(L"a block");
  ASSERT_EQ(table->add(block), Acad::eOk);
  block->close();
  table->close();
}

// The loader's walk: lock the current document, open the block table, read every record.
int WalkBlockTable() {
  AcApDocument* document = acDocManager->curDocument();
  EXPECT_EQ(acDocManager->lockDocument(document), Acad::eOk);
  AcDbBlockTable* table = nullptr;
  int seen = 0;
  if (WorkingDatabase().getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
    AcDbBlockTableIterator* iterator = nullptr;
    table->newIterator(iterator);
    for (; !iterator->done(); iterator->step()) {
      AcDbBlockTableRecord* block = nullptr;
      if (iterator->getRecord(block, AcDb::kForRead) != Acad::eOk) continue;
      const ACHAR* name = nullptr;
      const ACHAR* comments = nullptr;
      block->getName(name);
      block->comments(comments);
      if (!block->isLayout() && !block->isAnonymous() && !block->isFromExternalReference() &&
          name[0] != L'\0' && comments != nullptr) {
        ++seen;
      }
      block->close();
    }
    delete iterator;
    table->close();
  }
  EXPECT_EQ(acDocManager->unlockDocument(document), Acad::eOk);
  return seen;
}

// Runs inside a command of the drawing: the main thread holds the document's lock and waits
// while the reader thread walks the table; the table open for read refuses the main thread's
// write; then both work at once, the main thread drawing while the reader walks.
void ReadFromAnotherThread() {
  Shared& shared = State();
  AddBlock(L"VALVE");
  AddBlock(L"PUMP");
  std::thread reader([&] {
    AcApDocument* document = acDocManager->curDocument();
    EXPECT_EQ(acDocManager->lockDocument(document), Acad::eOk);
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(WorkingDatabase().getBlockTable(table, AcDb::kForRead), Acad::eOk);
    {
      std::unique_lock lock(shared.mutex);
      shared.tableOpen = true;
      shared.changed.notify_all();
      shared.changed.wait(lock, [&] { return shared.writeTried; });
    }
    table->close();
    EXPECT_EQ(acDocManager->unlockDocument(document), Acad::eOk);
    for (int round = 0; round < kRounds; ++round) {
      shared.blocksSeen = WalkBlockTable();
      ++shared.readerRounds;
    }
  });
  {
    std::unique_lock lock(shared.mutex);
    shared.changed.wait(lock, [&] { return shared.tableOpen; });
    AcDbBlockTable* table = nullptr;
    shared.writeWhileRead = WorkingDatabase().getBlockTable(table, AcDb::kForWrite);
    shared.writeTried = true;
    shared.changed.notify_all();
  }
  for (int drawn = 0; drawn < kRounds;) {
    AcDbBlockTable* table = nullptr;
    if (WorkingDatabase().getBlockTable(table, AcDb::kForRead) != Acad::eOk) continue;
    AcDbBlockTableRecord* space = nullptr;
    const Acad::ErrorStatus opened = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    if (opened != Acad::eOk) continue;
    auto* line = new AcDbLine(AcGePoint3d(drawn, 0, 0), AcGePoint3d(drawn, 1, 0));
    EXPECT_EQ(space->appendAcDbEntity(line), Acad::eOk);
    line->close();
    space->close();
    ++drawn;
  }
  reader.join();
}

TEST_F(HostTest, TheLoaderReadsTheBlockTableUnderTheDocumentLockWhileTheMainThreadWaits) {
  minicad::Host host;
  AddTestCommand(L"READINTHREAD", ReadFromAnotherThread);

  host.RunScriptText(L"READINTHREAD\n");

  Shared& shared = State();
  EXPECT_EQ(shared.writeWhileRead, Acad::eWasOpenForRead);
  EXPECT_EQ(shared.readerRounds, kRounds);
  EXPECT_EQ(shared.blocksSeen, 2);
  EXPECT_EQ(host.LockCount(host.ActiveDocument()), 0);
}

}  // namespace
}  // namespace minicadtest
