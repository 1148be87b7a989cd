// Applying a Layer, Linetype or Color scheme to a side drawing.
#include "layermap/SchemeApplication.h"

#include "arx/dbdim.h"
#include "arx/dbents.h"
#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "layermap/LayerNames.h"
#include "layermap/PseudoNames.h"
#include "layermap/StandardLayer.h"

namespace layermap {
namespace {

constexpr const wchar_t* kByLayer = L"BYLAYER";
constexpr const wchar_t* kByBlock = L"BYBLOCK";

bool IsKept(const std::wstring& upperName) {
  return upperName == kLayerZero || upperName == kDefpoints;
}

}  // namespace

bool SchemeApplication::Apply() {
  // A Block scheme leaves the drawing as it is: it only picks the current layer.
  if (scheme_.GetKind() == SchemeKind::kBlock) return true;
  if (!side_.CollectLayers()) return false;
  if (scheme_.GetKind() == SchemeKind::kLinetype) {
    for (const wchar_t* pseudoName : kPseudoNames) {
      if (scheme_.FindMap(pseudoName) != nullptr) {
        pseudoName_ = pseudoName;
        break;
      }
    }
  }
  switch (scheme_.GetKind()) {
    case SchemeKind::kLayer:
      CollectByLayer();
      break;
    case SchemeKind::kLinetype:
    case SchemeKind::kColor:
      CollectByObject();
      break;
    case SchemeKind::kBlock:
      break;
  }
  CreateMissingTargets();
  MoveObjects();
  EraseUnneededLayers();
  return true;
}

// Each layer is its own target unless the scheme maps it elsewhere, so every layer has a
// translation and every object is looked at in the moving pass.
void SchemeApplication::CollectByLayer() {
  for (const LayerFacts& layer : side_.Layers()) {
    std::wstring target;
    if (!ResolveKey(layer.upperName, target)) target = layer.upperName;
    AddTarget(target);
    if (!IsKept(layer.upperName)) eraseList_.push_back(layer.upperName);
    translation_[layer.upperName] = target;
  }
}

void SchemeApplication::CollectByObject() {
  for (const LayerFacts& layer : side_.Layers()) {
    if (!IsKept(layer.upperName)) eraseList_.push_back(layer.upperName);
  }
  side_.ForEachEntity([this](AcDbEntity& entity) { CollectObject(entity); });
}

// An object that stays where it is keeps its layer alive by making it a target.
void SchemeApplication::CollectObject(const AcDbEntity& entity) {
  const LayerFacts* layer = side_.FindLayer(entity.layerId());
  if (layer == nullptr) return;
  std::optional<std::wstring> key = KeyOf(entity, *layer, Pass::kCollecting);
  std::wstring target;
  if (key && ResolveKey(*key, target)) {
    AddTarget(target);
    translation_[*key] = target;
  } else if (key && layer->upperName == kDefpoints) {
    translation_[kDefpoints] = kDefpoints;
  } else if (layer->upperName != kLayerZero) {
    AddTarget(layer->upperName);
  }
}

void SchemeApplication::CreateMissingTargets() {
  std::vector<std::wstring> missing;
  for (const std::wstring& target : targetList_) {
    if (side_.FindLayer(target) == nullptr) missing.push_back(target);
  }
  if (missing.empty()) return;
  AcDbLayerTable* opened = nullptr;
  if (side_.Database().getLayerTable(opened, AcDb::kForWrite) != Acad::eOk) return;
  AcDbObjectPointer<AcDbLayerTable> table;
  (void)table.acquire(opened);
  // A layer the host refuses stays missing: the objects meant for it are not moved.
  for (const std::wstring& target : missing) (void)side_.AddLayer(*table.object(), target);
}

void SchemeApplication::MoveObjects() {
  side_.ForEachEntity([this](AcDbEntity& entity) { MoveObject(entity); });
}

void SchemeApplication::MoveObject(AcDbEntity& entity) {
  const LayerFacts* layer = side_.FindLayer(entity.layerId());
  if (layer == nullptr) return;
  std::optional<std::wstring> key = KeyOf(entity, *layer, Pass::kMoving);
  if (!key) return;
  auto translated = translation_.find(*key);
  if (translated == translation_.end()) return;
  const LayerFacts* target = side_.FindLayer(translated->second);
  if (target == nullptr) return;
  const bool byLayer = scheme_.GetDefaultToByLayer();
  if (target->id == entity.layerId() && !byLayer) return;
  if (entity.upgradeOpen() != Acad::eOk) return;
  (void)entity.setLayer(target->id, true);
  if (byLayer) {
    (void)entity.setColorIndex(AcCmColor::kByLayer, true);
    (void)entity.setLinetype(side_.Database().byLayerLinetype(), true);
  }
}

void SchemeApplication::EraseUnneededLayers() {
  for (const std::wstring& name : eraseList_) {
    if (targets_.count(name) != 0) continue;
    const LayerFacts* layer = side_.FindLayer(name);
    if (layer == nullptr) continue;
    AcDbObjectPointer<AcDbLayerTableRecord> record(layer->id, AcDb::kForWrite);
    if (record.openStatus() != Acad::eOk || record->erase() != Acad::eOk) {
      fw::AfxMessageBox(L"Could not erase layer " + layer->name);
    }
  }
}

const wchar_t* SchemeApplication::PseudoNameOf(const AcDbEntity& entity) const {
  if (pseudoName_ == nullptr) return nullptr;
  const bool isText = AcDbText::cast(&entity) != nullptr;
  const bool isDimension = AcDbDimension::cast(&entity) != nullptr;
  const std::wstring_view inForce = pseudoName_;
  if (inForce == kTextObjects && isText) return kTextObjects;
  if (inForce == kDimensionObjects && isDimension) return kDimensionObjects;
  if (inForce == kTextAndDimensionObjects && (isText || isDimension)) {
    return kTextAndDimensionObjects;
  }
  return nullptr;
}

// In the collecting pass a ByLayer object on DEFPOINTS is looked up as "DEFPOINTS"; in the
// moving pass it takes its layer's linetype or colour like any other.
std::optional<std::wstring> SchemeApplication::KeyOf(const AcDbEntity& entity,
                                                     const LayerFacts& layer, Pass pass) const {
  if (const wchar_t* pseudoName = PseudoNameOf(entity)) return pseudoName;
  const bool onDefpoints = pass == Pass::kCollecting && layer.upperName == kDefpoints;
  switch (scheme_.GetKind()) {
    case SchemeKind::kLayer:
      return layer.upperName;
    case SchemeKind::kLinetype: {
      const std::wstring& linetype = side_.LinetypeName(entity.linetypeId());
      if (linetype == kByBlock) return std::nullopt;
      if (linetype != kByLayer) return linetype;
      return onDefpoints ? std::wstring(kDefpoints) : layer.upperLinetype;
    }
    case SchemeKind::kColor: {
      const Adesk::UInt16 colour = entity.colorIndex();
      if (colour == AcCmColor::kByBlock) return std::nullopt;
      if (colour != AcCmColor::kByLayer) return std::to_wstring(colour);
      return onDefpoints ? std::wstring(kDefpoints) : std::to_wstring(layer.colorIndex);
    }
    case SchemeKind::kBlock:
      return std::nullopt;
  }
  return std::nullopt;
}

bool SchemeApplication::ResolveKey(const std::wstring& key, std::wstring& target) {
  if (auto known = resolved_.find(key); known != resolved_.end()) {
    if (!known->second) return false;
    target = *known->second;
    return true;
  }
  std::wstring name = key;
  std::wstring resolved;
  if (!scheme_.Resolve(name, resolved)) {
    if (scheme_.GetUnknownMode() != UnknownMode::kAsk) resolved_[key] = std::nullopt;
    return false;
  }
  resolved = fw::ToUpper(resolved);
  if (!IsValidLayerName(resolved)) {
    if (reportedInvalid_.insert(resolved).second) ReportInvalidLayerName(resolved);
    resolved_[key] = std::nullopt;
    return false;
  }
  resolved_[key] = resolved;
  target = std::move(resolved);
  return true;
}

void SchemeApplication::AddTarget(const std::wstring& upperName) {
  if (targets_.insert(upperName).second) targetList_.push_back(upperName);
}

}  // namespace layermap
