// Reading a library drawing apart and walking its tables and objects.
#include "layermap/SideDrawing.h"

#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "layermap/LayerNames.h"
#include "layermap/StandardLayer.h"

namespace layermap {

SideDrawing::SideDrawing(std::unique_ptr<AcDbDatabase> database) : database_(std::move(database)) {}

std::unique_ptr<SideDrawing> SideDrawing::Read(const std::wstring& path) {
  auto database = std::make_unique<AcDbDatabase>(false, true);
  if (database->readDwgFile(path.c_str(), AcDbDatabase::kForReadAndReadShare, false, nullptr) !=
      Acad::eOk) {
    return nullptr;
  }
  return std::unique_ptr<SideDrawing>(new SideDrawing(std::move(database)));
}

bool SideDrawing::CollectLinetypes() {
  AcDbLinetypeTable* opened = nullptr;
  if (database_->getLinetypeTable(opened, AcDb::kForRead) != Acad::eOk) return false;
  AcDbObjectPointer<AcDbLinetypeTable> table;
  (void)table.acquire(opened);
  AcDbLinetypeTableIterator* walk = nullptr;
  if (table->newIterator(walk) != Acad::eOk) return false;
  std::unique_ptr<AcDbLinetypeTableIterator> iterator(walk);
  for (; !iterator->done(); iterator->step()) {
    AcDbLinetypeTableRecord* record = nullptr;
    if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbObjectPointer<AcDbLinetypeTableRecord> linetype;
    (void)linetype.acquire(record);
    const ACHAR* name = nullptr;
    if (linetype->getName(name) == Acad::eOk) {
      linetypeNames_[linetype->objectId()] = fw::ToUpper(name);
    }
  }
  return true;
}

bool SideDrawing::CollectLayers() {
  if (!CollectLinetypes()) return false;
  AcDbLayerTable* opened = nullptr;
  if (database_->getLayerTable(opened, AcDb::kForRead) != Acad::eOk) return false;
  AcDbObjectPointer<AcDbLayerTable> table;
  (void)table.acquire(opened);
  AcDbLayerTableIterator* walk = nullptr;
  if (table->newIterator(walk) != Acad::eOk) return false;
  std::unique_ptr<AcDbLayerTableIterator> iterator(walk);
  for (; !iterator->done(); iterator->step()) {
    AcDbLayerTableRecord* record = nullptr;
    if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbObjectPointer<AcDbLayerTableRecord> layer;
    (void)layer.acquire(record);
    const ACHAR* name = nullptr;
    if (layer->getName(name) != Acad::eOk) continue;
    LayerFacts facts;
    facts.id = layer->objectId();
    facts.name = name;
    facts.upperName = fw::ToUpper(name);
    facts.colorIndex = layer->color().colorIndex();
    AcDbObjectId linetype = layer->linetypeObjectId();
    facts.upperLinetype =
        LinetypeName(linetype.isNull() ? database_->continuousLinetype() : linetype);
    if (facts.upperName == kLayerZero) (void)database_->setClayer(facts.id);
    layerById_[facts.id] = layers_.size();
    layerByName_[facts.upperName] = layers_.size();
    layers_.push_back(std::move(facts));
  }
  return true;
}

const LayerFacts* SideDrawing::FindLayer(AcDbObjectId id) const {
  auto found = layerById_.find(id);
  return found == layerById_.end() ? nullptr : &layers_[found->second];
}

const LayerFacts* SideDrawing::FindLayer(const std::wstring& upperName) const {
  auto found = layerByName_.find(upperName);
  return found == layerByName_.end() ? nullptr : &layers_[found->second];
}

const std::wstring& SideDrawing::LinetypeName(AcDbObjectId id) const {
  static const std::wstring kUnknown;
  auto found = linetypeNames_.find(id);
  return found == linetypeNames_.end() ? kUnknown : found->second;
}

bool SideDrawing::AddLayer(AcDbLayerTable& table, const std::wstring& upperName) {
  AcDbObjectId id;
  if (AddStandardLayer(table, *database_, upperName, id) != Acad::eOk) return false;
  LayerFacts facts;
  facts.id = id;
  facts.name = upperName;
  facts.upperName = upperName;
  facts.upperLinetype = LinetypeName(database_->continuousLinetype());
  layerById_[id] = layers_.size();
  layerByName_[upperName] = layers_.size();
  layers_.push_back(std::move(facts));
  return true;
}

void SideDrawing::ForEachEntity(const std::function<void(AcDbEntity&)>& visit) {
  AcDbBlockTable* opened = nullptr;
  if (database_->getBlockTable(opened, AcDb::kForRead) != Acad::eOk) return;
  AcDbObjectPointer<AcDbBlockTable> table;
  (void)table.acquire(opened);
  AcDbBlockTableIterator* walkBlocks = nullptr;
  if (table->newIterator(walkBlocks) != Acad::eOk) return;
  std::unique_ptr<AcDbBlockTableIterator> blocks(walkBlocks);
  for (; !blocks->done(); blocks->step()) {
    AcDbBlockTableRecord* record = nullptr;
    if (blocks->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbObjectPointer<AcDbBlockTableRecord> block;
    (void)block.acquire(record);
    AcDbBlockTableRecordIterator* walkEntities = nullptr;
    if (block->newIterator(walkEntities) != Acad::eOk) continue;
    std::unique_ptr<AcDbBlockTableRecordIterator> entities(walkEntities);
    for (; !entities->done(); entities->step()) {
      AcDbEntity* entity = nullptr;
      if (entities->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      AcDbObjectPointer<AcDbEntity> held;
      (void)held.acquire(entity);
      visit(*held.object());
    }
  }
}

}  // namespace layermap
