// The rewriting of a side drawing by a Layer, Linetype or Color scheme: every object moved onto
// its target layer, missing target layers created, layers no longer wanted erased. One object
// per preparation; host main thread (resolving a name may put the New Map question).
#pragma once

#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "layermap/MapScheme.h"
#include "layermap/SideDrawing.h"

class AcDbEntity;

namespace layermap {

class SchemeApplication {
 public:
  SchemeApplication(MapScheme& scheme, SideDrawing& side) : scheme_(scheme), side_(side) {}

  // Collects (by layer for kind Layer, by object for Linetype and Color), creates the missing
  // target layers, moves the objects and erases the unneeded layers. False when the side
  // drawing's tables cannot be opened; "Could not erase layer " + name is shown for each layer
  // the host refuses to erase, and the application still succeeds.
  bool Apply();

  // For the tests: the translation from object key to target layer after Apply.
  const std::unordered_map<std::wstring, std::wstring>& Translation() const { return translation_; }

 private:
  enum class Pass { kCollecting, kMoving };

  void CollectByLayer();
  void CollectByObject();
  void CollectObject(const AcDbEntity& entity);
  void CreateMissingTargets();
  void MoveObjects();
  void MoveObject(AcDbEntity& entity);
  void EraseUnneededLayers();

  // The key an object is looked up under; nothing for an object that is skipped (ByBlock).
  std::optional<std::wstring> KeyOf(const AcDbEntity& entity, const LayerFacts& layer,
                                    Pass pass) const;
  const wchar_t* PseudoNameOf(const AcDbEntity& entity) const;
  // Resolve with the scheme, remembered per key (except a cancelled question, which is put
  // again for the next object with that key). A target that cannot be a layer name counts as
  // not mapped. The target is upper case.
  bool ResolveKey(const std::wstring& key, std::wstring& target);
  void AddTarget(const std::wstring& upperName);

  MapScheme& scheme_;
  SideDrawing& side_;
  // The pseudo-name in force (Linetype schemes only), or nullptr.
  const wchar_t* pseudoName_ = nullptr;
  std::vector<std::wstring> eraseList_;
  std::vector<std::wstring> targetList_;
  std::set<std::wstring> targets_;
  std::unordered_map<std::wstring, std::wstring> translation_;
  std::unordered_map<std::wstring, std::optional<std::wstring>> resolved_;
  std::set<std::wstring> reportedInvalid_;
};

}  // namespace layermap
