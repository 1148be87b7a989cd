// A library drawing read into a database of its own, apart from every open drawing, with the
// facts of its layers and linetypes that scheme application looks up for each object. Lives for
// one preparation; host main thread.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "arx/dbmain.h"

namespace layermap {

struct LayerFacts {
  AcDbObjectId id;
  std::wstring name;       // as the table holds it
  std::wstring upperName;  // the form every list and key of scheme application uses
  Adesk::UInt16 colorIndex = 7;
  std::wstring upperLinetype;  // the name of the layer's linetype
};

class SideDrawing {
 public:
  // Reads `path` (read-share, no code-page conversion, no password) into a database built
  // without a default drawing; nullptr when the host cannot read it.
  static std::unique_ptr<SideDrawing> Read(const std::wstring& path);

  AcDbDatabase& Database() { return *database_; }

  // Records every layer in table order (and every linetype's name), and makes layer "0" the
  // current layer so that any other layer may be erased. False when a table cannot be opened.
  bool CollectLayers();
  const std::vector<LayerFacts>& Layers() const { return layers_; }
  // nullptr for a layer not in the table.
  const LayerFacts* FindLayer(AcDbObjectId id) const;
  const LayerFacts* FindLayer(const std::wstring& upperName) const;
  // Upper case: "BYLAYER", "BYBLOCK" or the record's name; empty for an unknown id.
  const std::wstring& LinetypeName(AcDbObjectId id) const;

  // Adds the layer to the table (colour 7, CONTINUOUS) and to the facts. False when the host
  // refuses.
  bool AddLayer(AcDbLayerTable& table, const std::wstring& upperName);

  // Calls `visit` for every object that is not erased in every block table record (model
  // space, paper spaces, block definitions), in table and drawing order, each open for read
  // while it is visited (the visitor may upgrade it) and closed after.
  void ForEachEntity(const std::function<void(AcDbEntity&)>& visit);

 private:
  explicit SideDrawing(std::unique_ptr<AcDbDatabase> database);
  bool CollectLinetypes();

  std::unique_ptr<AcDbDatabase> database_;
  std::vector<LayerFacts> layers_;
  std::map<AcDbObjectId, std::size_t> layerById_;
  std::unordered_map<std::wstring, std::size_t> layerByName_;
  std::map<AcDbObjectId, std::wstring> linetypeNames_;
};

}  // namespace layermap
