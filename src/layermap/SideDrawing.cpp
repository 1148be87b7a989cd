// Reading a library drawing apart and walking its tables and objects.
#include "layermap/SideDrawing.h"

#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "layermap/LayerNames.h"
#include "layermap/StandardLayer.h"
#include "layermap/SymbolTableWalk.h"

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
  return ForEachRecord<AcDbLinetypeTableRecord>(
      *database_, &AcDbDatabase::getLinetypeTable, [this](AcDbLinetypeTableRecord& linetype) {
        const ACHAR* name = nullptr;
        if (linetype.getName(name) == Acad::eOk) {
          linetypeNames_[linetype.objectId()] = fw::ToUpper(name);
        }
        return true;
      });
}

bool SideDrawing::CollectLayers() {
  if (!CollectLinetypes()) return false;
  return ForEachRecord<AcDbLayerTableRecord>(
      *database_, &AcDbDatabase::getLayerTable, [this](AcDbLayerTableRecord& layer) {
        const ACHAR* name = nullptr;
        if (layer.getName(name) != Acad::eOk) return true;
        LayerFacts facts;
        facts.id = layer.objectId();
        facts.name = name;
        facts.upperName = fw::ToUpper(name);
        facts.colorIndex = layer.color().colorIndex();
        const AcDbObjectId linetype = layer.linetypeObjectId();
        facts.upperLinetype =
            LinetypeName(linetype.isNull() ? database_->continuousLinetype() : linetype);
        if (facts.upperName == kLayerZero) (void)database_->setClayer(facts.id);
        layerById_[facts.id] = layers_.size();
        layerByName_[facts.upperName] = layers_.size();
        layers_.push_back(std::move(facts));
        return true;
      });
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
  (void)ForEachRecord<AcDbBlockTableRecord>(
      *database_, &AcDbDatabase::getBlockTable, [&](AcDbBlockTableRecord& block) {
        AcDbBlockTableRecordIterator* walk = nullptr;
        if (block.newIterator(walk) != Acad::eOk) return true;
        std::unique_ptr<AcDbBlockTableRecordIterator> entities(walk);
        for (; !entities->done(); entities->step()) {
          AcDbEntity* entity = nullptr;
          if (entities->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
          AcDbObjectPointer<AcDbEntity> held;
          (void)held.acquire(entity);
          visit(*held.object());
        }
        return true;
      });
}

}  // namespace layermap
