// The drawing database: open and close rules, the document lock, tables and records, erasing,
// the class hierarchy, and the database insert.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "HostTestSupport.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/Document.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Lines = std::vector<std::wstring>;

AcDbDatabase& CurrentDatabase() { return *acdbHostApplicationServices()->workingDatabase(); }

AcDbObjectId ModelSpace(AcDbDatabase& database) {
  return AcDbImpDatabase::Of(database).Standard().modelSpace;
}

// Adds a line to model space of a database that may be written; returns its id.
AcDbObjectId AddLine(AcDbDatabase& database, const wchar_t* layer = nullptr) {
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, ModelSpace(database), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, line), Acad::eOk);
  // By name once it belongs to the database: before, a name is looked up in the working one.
  if (layer != nullptr) {
    EXPECT_EQ(line->setLayer(layer), Acad::eOk);
  }
  line->close();
  space->close();
  return id;
}

AcDbObjectId AddLayer(AcDbDatabase& database, const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(database.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* layer = new AcDbLayerTableRecord;
  EXPECT_EQ(layer->setName(name), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, layer), Acad::eOk);
  layer->close();
  table->close();
  return id;
}

TEST(Database, AnObjectOpenForWriteIsOpenedAgainOnlyAfterItIsClosed) {
  AcDbDatabase database;
  const AcDbObjectId line = AddLine(database);
  AcDbObject* first = nullptr;
  AcDbObject* second = nullptr;
  ASSERT_EQ(acdbOpenObject(first, line, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(acdbOpenObject(second, line, AcDb::kForWrite), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenObject(second, line, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(first->close(), Acad::eOk);

  ASSERT_EQ(acdbOpenObject(first, line, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(second, line, AcDb::kForRead), Acad::eOk);
  AcDbObject* writer = nullptr;
  EXPECT_EQ(acdbOpenObject(writer, line, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(static_cast<AcDbLine*>(first)->setStartPoint(AcGePoint3d(5, 5, 0)),
            Acad::eNotOpenForWrite);
  EXPECT_EQ(second->upgradeOpen(), Acad::eWasOpenForRead);
  EXPECT_EQ(first->close(), Acad::eOk);
  EXPECT_EQ(second->upgradeOpen(), Acad::eOk);
  EXPECT_EQ(static_cast<AcDbLine*>(second)->setStartPoint(AcGePoint3d(5, 5, 0)), Acad::eOk);
  EXPECT_EQ(second->close(), Acad::eOk);
  EXPECT_EQ(second->close(), Acad::eInvalidOpenState);

  AcDbObject* stale = nullptr;
  AcDbObjectId bogus;
  bogus.setFromOldId(12345);
  EXPECT_EQ(acdbOpenObject(stale, bogus, AcDb::kForRead), Acad::eInvalidInput);
  EXPECT_EQ(acdbOpenObject(stale, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
}

// Every write a module can make to a document's drawing, tried without the document's lock:
// each fails with eLockViolation and the drawing is as it was.
TEST_F(HostTest, WritesToADocumentOutsideItsLockFailAndChangeNothing) {
  minicad::Host host;
  AcDbDatabase& database = CurrentDatabase();
  AcApDocument* document = acDocManager->curDocument();
  ASSERT_EQ(acDocManager->lockDocument(document), Acad::eOk);
  const AcDbObjectId wall = AddLayer(database, L"WALL");
  const AcDbObjectId line = AddLine(database);
  ASSERT_EQ(acDocManager->unlockDocument(document), Acad::eOk);
  const AcDbObjectId layerZero = database.clayer();
  const Lines before = minicad::ListDrawing(AcDbImpDatabase::Of(database));

  AcDbObject* object = nullptr;
  AcDbDatabaseSummaryInfo* info = nullptr;
  ASSERT_EQ(acdbGetSummaryInfo(&database, info), Acad::eOk);
  std::unique_ptr<AcDbDatabaseSummaryInfo> owned(info);
  ASSERT_EQ(owned->setComments(L"changed"), Acad::eOk);
  AcDbDatabase side;
  side.setInsbase(AcGePoint3d(1, 2, 3));
  AcDbObjectId inserted;
  const std::pair<const char*, Acad::ErrorStatus> writes[] = {
      {"open for write", acdbOpenObject(object, line, AcDb::kForWrite)},
      {"setClayer", database.setClayer(wall)},
      {"setInsbase", database.setInsbase(AcGePoint3d(9, 9, 9))},
      {"acdbPutSummaryInfo", acdbPutSummaryInfo(owned.get())},
      {"insert", database.insert(inserted, L"SIDE", &side)},
  };
  for (const auto& [what, status] : writes) EXPECT_EQ(status, Acad::eLockViolation) << what;
  EXPECT_EQ(object, nullptr);
  AcDbObject* reader = nullptr;
  ASSERT_EQ(acdbOpenObject(reader, line, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(reader->upgradeOpen(), Acad::eLockViolation);
  reader->close();

  EXPECT_EQ(database.clayer(), layerZero);
  EXPECT_EQ(database.insbase(), AcGePoint3d::kOrigin);
  EXPECT_EQ(minicad::ListDrawing(AcDbImpDatabase::Of(database)), before);
  AcDbDatabaseSummaryInfo* again = nullptr;
  ASSERT_EQ(acdbGetSummaryInfo(&database, again), Acad::eOk);
  ACHAR* comments = nullptr;
  again->getComments(comments);
  EXPECT_EQ(std::wstring(comments), L"");
  acutDelString(comments);
  delete again;
}

TEST(Database, TablesFindRecordsWithoutRegardToCaseAndRefuseBadOrDuplicateNames) {
  AcDbDatabase database;
  AddLayer(database, L"Wall");
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(database.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  EXPECT_TRUE(table->has(L"WALL"));
  EXPECT_FALSE(table->has(L"WALLS"));
  AcDbObjectId id;
  EXPECT_EQ(table->getAt(L"wall", id), Acad::eOk);
  EXPECT_EQ(table->getAt(L"nothing", id), Acad::eKeyNotFound);
  const std::pair<const wchar_t*, Acad::ErrorStatus> names[] = {
      {L"WALL", Acad::eDuplicateRecordName},         {L"a<b", Acad::eInvalidSymbolTableName},
      {L"", Acad::eInvalidSymbolTableName},          {L"*U1", Acad::eInvalidSymbolTableName},
      {L"tab\there", Acad::eInvalidSymbolTableName}, {L"My \"quoted\" \u00e9tage", Acad::eOk},
  };
  for (const auto& [name, expected] : names) {
    auto* layer = new AcDbLayerTableRecord;
    AcDbImpDatabase::Name(*layer) = name;
    const Acad::ErrorStatus status = table->add(layer);
    EXPECT_EQ(status, expected) << fw::ToUtf8(name);
    if (status == Acad::eOk) {
      layer->close();
    } else {
      delete layer;
    }
  }
  table->close();
}

TEST(Database, ErasingRefusesWhatTheDrawingStillNeedsAndIteratorsSkipErasedRecords) {
  AcDbDatabase database;
  AcDbImpDatabase& inside = AcDbImpDatabase::Of(database);
  const AcDbObjectId used = AddLayer(database, L"USED");
  const AcDbObjectId spare = AddLayer(database, L"SPARE");
  const AcDbObjectId current = AddLayer(database, L"CURRENT");
  ASSERT_EQ(database.setClayer(current), Acad::eOk);
  AddLine(database, L"USED");
  const minicad::StandardRecords& standard = inside.Standard();
  const std::pair<AcDbObjectId, Acad::ErrorStatus> cases[] = {
      {standard.layerZero, Acad::eCannotBeErasedByCaller},
      {current, Acad::eCannotBeErasedByCaller},
      {used, Acad::eCannotBeErasedByCaller},
      {standard.continuous, Acad::eCannotBeErasedByCaller},
      {standard.modelSpace, Acad::eCannotBeErasedByCaller},
      {standard.layerTable, Acad::eCannotBeErasedByCaller},
      {spare, Acad::eOk},
  };
  for (const auto& [id, expected] : cases) {
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(object->erase(), expected);
    object->close();
  }
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(database.getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableIterator* iterator = nullptr;
  ASSERT_EQ(table->newIterator(iterator), Acad::eOk);
  std::vector<std::wstring> names;
  for (; !iterator->done(); iterator->step()) {
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(iterator->getRecord(layer, AcDb::kForRead), Acad::eOk);
    const ACHAR* name = nullptr;
    layer->getName(name);
    names.emplace_back(name);
    layer->close();
  }
  delete iterator;
  EXPECT_FALSE(table->has(L"SPARE"));
  table->close();
  EXPECT_EQ(names, (std::vector<std::wstring>{L"0", L"USED", L"CURRENT"}));
}

TEST(Database, ClassesKnowTheirKindAndCastOnlyWithinTheirHierarchy) {
  AcDbAttributeDefinition definition;
  AcDbRotatedDimension dimension;
  AcDbLine line;
  EXPECT_TRUE(definition.isKindOf(AcDbText::desc()));
  EXPECT_TRUE(definition.isKindOf(AcDbEntity::desc()));
  EXPECT_TRUE(dimension.isKindOf(AcDbDimension::desc()));
  EXPECT_FALSE(line.isKindOf(AcDbText::desc()));
  EXPECT_EQ(AcDbText::cast(&definition), &definition);
  EXPECT_EQ(AcDbText::cast(&line), nullptr);
  EXPECT_EQ(AcDbDimension::cast(&dimension), &dimension);
  EXPECT_EQ(std::wstring(definition.isA()->name()), L"AcDbAttributeDefinition");
}

// A block that would place itself, directly or through another block, is refused.
TEST(Database, ABlockNeverPlacesItself) {
  AcDbDatabase database;
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(database.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId outer, inner;
  auto* outerRecord = new AcDbBlockTableRecord;
  outerRecord->setName(L"OUTER");
  ASSERT_EQ(table->add(outer, outerRecord), Acad::eOk);
  auto* innerRecord = new AcDbBlockTableRecord;
  innerRecord->setName(L"INNER");
  ASSERT_EQ(table->add(inner, innerRecord), Acad::eOk);
  table->close();
  auto* placed = new AcDbBlockReference(AcGePoint3d(), inner);
  ASSERT_EQ(outerRecord->appendAcDbEntity(placed), Acad::eOk);
  placed->close();
  auto* loop = new AcDbBlockReference(AcGePoint3d(), outer);
  EXPECT_EQ(innerRecord->appendAcDbEntity(loop), Acad::eSelfReference);
  auto* self = new AcDbBlockReference(AcGePoint3d(), inner);
  EXPECT_EQ(innerRecord->appendAcDbEntity(self), Acad::eSelfReference);
  delete loop;
  delete self;
  outerRecord->close();
  innerRecord->close();
}

// The database insert brings the side drawing's layers along and redefines a block in place.
TEST(Database, InsertMakesModelSpaceOfAnotherDrawingABlockDefinition) {
  AcDbDatabase target;
  AcDbDatabase side;
  AddLayer(side, L"PIPES");
  AddLine(side, L"PIPES");
  ASSERT_EQ(side.setInsbase(AcGePoint3d(5, 0, 0)), Acad::eOk);
  AcDbObjectId block;
  ASSERT_EQ(target.insert(block, L"VALVE", &side), Acad::eOk);
  AddLine(side);
  AcDbObjectId again;
  ASSERT_EQ(target.insert(again, L"valve", &side), Acad::eOk);
  EXPECT_EQ(again, block);
  EXPECT_EQ(minicad::ListDrawing(AcDbImpDatabase::Of(target)),
            (Lines{L"VALVE | LINE | layer PIPES | color 256 | linetype ByLayer",
                   L"VALVE | LINE | layer 0 | color 256 | linetype ByLayer"}));
  AcDbBlockTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, block, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(record->origin(), AcGePoint3d(5, 0, 0));
  record->close();
  EXPECT_EQ(target.insert(again, L"bad|name", &side), Acad::eInvalidInput);
}

}  // namespace
}  // namespace minicadtest
