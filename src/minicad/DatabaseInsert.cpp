// Copying a database's model space into a block definition of another.
#include "minicad/DatabaseInsert.h"

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/OpenedObject.h"
#include "minicad/RecordMaking.h"

namespace minicad {
namespace {

using IdMap = std::map<AcDbObjectId, AcDbObjectId>;

// What kind of definition a block open for write now is, and where its origin lies.
void MarkDefinition(AcDbBlockTableRecord& block, const BlockSource& kind, bool foreign,
                    const AcGePoint3d& origin) {
  AcDbImpDatabase::ForeignContents(block) = foreign;
  (void)block.setOrigin(origin);
  (void)block.setPathName(kind.pathName.c_str());
  (void)block.setIsFromOverlayReference(kind.overlay);
}

class BlockCopier {
 public:
  BlockCopier(AcDbImpDatabase& target, std::wstring_view name, const AcDbImpDatabase& source,
              const BlockSource& kind)
      : target_(target), source_(source), name_(name), kind_(kind) {
    if (!kind.pathName.empty()) prefix_ = name_ + L"|";
  }

  Acad::ErrorStatus Run(AcDbObjectId& blockId) {
    if (!target_.WriteAllowed()) return Acad::eLockViolation;
    CollectSourceBlocks();
    if (PlacesItself()) return Acad::eSelfReference;
    Acad::ErrorStatus status = MapLinetypes();
    if (status == Acad::eOk) status = MapLayers();
    if (status == Acad::eOk) status = MapBlocks();
    if (status == Acad::eOk) status = PrepareDefinition(blockId);
    for (const auto& [sourceBlock, targetBlock] : newBlocks_) {
      if (status == Acad::eOk) status = CopyEntities(sourceBlock, targetBlock);
    }
    if (status == Acad::eOk) status = CopyEntities(source_.Standard().modelSpace, blockId);
    return status;
  }

 private:
  std::wstring Mapped(const AcDbSymbolTableRecord& record) const {
    return prefix_ + AcDbImpDatabase::Name(record);
  }

  // The source's blocks that its model space places, directly or through other blocks.
  void CollectSourceBlocks() {
    std::deque<AcDbObjectId> pending{source_.Standard().modelSpace};
    std::set<AcDbObjectId> seen;
    while (!pending.empty()) {
      const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(pending.front());
      pending.pop_front();
      if (block == nullptr) continue;
      for (AcDbObjectId id : AcDbImpDatabase::Entities(*block)) {
        const auto* reference = AcDbImpDatabase::PeekAs<AcDbBlockReference>(id);
        if (reference == nullptr || AcDbImpDatabase::IsErased(id)) continue;
        if (seen.insert(reference->blockTableRecord()).second) {
          sourceBlocks_.push_back(reference->blockTableRecord());
          pending.push_back(reference->blockTableRecord());
        }
      }
    }
  }

  // A nested block of the definition's own name, or an existing block that the definition
  // would use and that already places the definition, would make it place itself.
  bool PlacesItself() const {
    const AcDbObjectId existing = target_.FindRecord(target_.Standard().blockTable, name_);
    std::vector<AcDbObjectId> placing;
    if (!existing.isNull()) placing = target_.BlocksPlacing(existing);
    for (AcDbObjectId id : sourceBlocks_) {
      const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id);
      const std::wstring mapped = Mapped(*block);
      if (fw::EqualsNoCase(mapped, name_)) return true;
      const AcDbObjectId used = target_.FindRecord(target_.Standard().blockTable, mapped);
      for (AcDbObjectId place : placing) {
        if (!used.isNull() && used == place) return true;
      }
    }
    return false;
  }

  // Each record of a source table maps to the target's record of the same (mapped) name, or to
  // a copy added to the target.
  template <class Record>
  Acad::ErrorStatus MapTable(AcDbObjectId sourceTable, AcDbObjectId targetTable,
                             const std::map<AcDbObjectId, AcDbObjectId>& shared) {
    const auto* table = AcDbImpDatabase::PeekAs<AcDbSymbolTable>(sourceTable);
    for (AcDbObjectId id : AcDbImpDatabase::Records(*table)) {
      if (AcDbImpDatabase::IsErased(id)) continue;
      if (auto found = shared.find(id); found != shared.end()) {
        map_[id] = found->second;
        continue;
      }
      const auto* record = AcDbImpDatabase::PeekAs<Record>(id);
      const std::wstring mapped =
          SharedName(*record) ? AcDbImpDatabase::Name(*record) : Mapped(*record);
      AcDbObjectId existing = target_.FindRecord(targetTable, mapped);
      if (existing.isNull()) {
        auto* copy = static_cast<Record*>(record->clone());
        Remap(*copy);
        if (Acad::ErrorStatus status = AddRecord(targetTable, copy, mapped, existing);
            status != Acad::eOk) {
          return status;
        }
      }
      map_[id] = existing;
    }
    return Acad::eOk;
  }

  // Layer Defpoints is shared by every drawing and every external reference.
  static bool SharedName(const AcDbSymbolTableRecord& record) {
    return AcDbLayerTableRecord::cast(&record) != nullptr &&
           fw::EqualsNoCase(AcDbImpDatabase::Name(record), L"Defpoints");
  }

  void Remap(AcDbLinetypeTableRecord&) const {}
  void Remap(AcDbLayerTableRecord& layer) const {
    auto found = map_.find(layer.linetypeObjectId());
    (void)layer.setLinetypeObjectId(found == map_.end() ? target_.Standard().continuous
                                                        : found->second);
  }

  Acad::ErrorStatus MapLinetypes() {
    const StandardRecords& from = source_.Standard();
    const StandardRecords& to = target_.Standard();
    return MapTable<AcDbLinetypeTableRecord>(
        from.linetypeTable, to.linetypeTable,
        {{from.byBlock, to.byBlock}, {from.byLayer, to.byLayer}, {from.continuous, to.continuous}});
  }

  Acad::ErrorStatus MapLayers() {
    const StandardRecords& from = source_.Standard();
    const StandardRecords& to = target_.Standard();
    return MapTable<AcDbLayerTableRecord>(from.layerTable, to.layerTable,
                                          {{from.layerZero, to.layerZero}});
  }

  Acad::ErrorStatus MapBlocks() {
    for (AcDbObjectId id : sourceBlocks_) {
      const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id);
      const std::wstring mapped = Mapped(*block);
      AcDbObjectId existing = target_.FindRecord(target_.Standard().blockTable, mapped);
      if (existing.isNull()) {
        auto* copy = static_cast<AcDbBlockTableRecord*>(block->clone());
        if (Acad::ErrorStatus status =
                AddRecord(target_.Standard().blockTable, copy, mapped, existing);
            status != Acad::eOk) {
          return status;
        }
        newBlocks_.emplace_back(id, existing);
      }
      map_[id] = existing;
    }
    return Acad::eOk;
  }

  // The definition itself: made, or emptied of its old objects.
  Acad::ErrorStatus PrepareDefinition(AcDbObjectId& blockId) {
    Opened<AcDbBlockTableRecord> block;
    Acad::ErrorStatus status = OpenEmptiedBlock(target_, name_, block, blockId);
    if (status == Acad::eOk)
      MarkDefinition(*block.Get(), kind_, false, source_.Header().insertionBase);
    return status;
  }

  Acad::ErrorStatus CopyEntities(AcDbObjectId from, AcDbObjectId to) {
    const auto* source = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(from);
    Opened<AcDbBlockTableRecord> block;
    if (Acad::ErrorStatus status = block.Open(to, AcDb::kForWrite); status != Acad::eOk) {
      return status;
    }
    for (AcDbObjectId id : AcDbImpDatabase::Entities(*source)) {
      if (AcDbImpDatabase::IsErased(id)) continue;
      const auto* entity = AcDbImpDatabase::PeekAs<AcDbEntity>(id);
      std::unique_ptr<AcDbEntity> copy(static_cast<AcDbEntity*>(entity->clone()));
      if (!RemapEntity(*copy)) continue;
      AcDbObjectId added;
      Acad::ErrorStatus status = block->appendAcDbEntity(added, copy.get());
      if (status != Acad::eOk) return status;
      copy.release()->close();
    }
    return Acad::eOk;
  }

  bool RemapEntity(AcDbEntity& entity) const {
    auto mapped = [&](AcDbObjectId id, AcDbObjectId fallback) {
      auto found = map_.find(id);
      return found == map_.end() ? fallback : found->second;
    };
    AcDbImpDatabase::LayerId(entity) = mapped(entity.layerId(), target_.Standard().layerZero);
    AcDbImpDatabase::LinetypeId(entity) = mapped(entity.linetypeId(), target_.Standard().byLayer);
    if (auto* reference = AcDbBlockReference::cast(&entity)) {
      auto found = map_.find(reference->blockTableRecord());
      if (found == map_.end()) return false;
      (void)reference->setBlockTableRecord(found->second);
    }
    return true;
  }

  AcDbImpDatabase& target_;
  const AcDbImpDatabase& source_;
  std::wstring name_;
  const BlockSource& kind_;
  std::wstring prefix_;
  std::vector<AcDbObjectId> sourceBlocks_;
  std::vector<std::pair<AcDbObjectId, AcDbObjectId>> newBlocks_;
  IdMap map_;
};

}  // namespace

Acad::ErrorStatus CopyAsBlock(AcDbImpDatabase& target, std::wstring_view name,
                              const AcDbImpDatabase& source, const BlockSource& kind,
                              AcDbObjectId& blockId) {
  return BlockCopier(target, name, source, kind).Run(blockId);
}

Acad::ErrorStatus MakeForeignBlock(AcDbImpDatabase& target, std::wstring_view name,
                                   const BlockSource& kind, AcDbObjectId& blockId) {
  if (!target.WriteAllowed()) return Acad::eLockViolation;
  Opened<AcDbBlockTableRecord> block;
  Acad::ErrorStatus status = OpenEmptiedBlock(target, name, block, blockId);
  if (status == Acad::eOk) MarkDefinition(*block.Get(), kind, true, AcGePoint3d::kOrigin);
  return status;
}

}  // namespace minicad
