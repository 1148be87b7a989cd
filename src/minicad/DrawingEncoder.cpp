// The body writer: the header, the tables and every entity, with records referred to by index.
#include "minicad/DrawingEncoder.h"

#include <string>
#include <unordered_map>

#include "arx/acutads.h"
#include "arx/dbdim.h"
#include "fw/ByteWriter.h"
#include "fw/Compression.h"
#include "fw/NativePath.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DrawingBodyFormat.h"

namespace minicad {
namespace {

class Encoder {
 public:
  Encoder(const AcDbImpDatabase& database, std::vector<std::uint8_t>& bytes)
      : database_(database), bytes_(bytes), out_(bytes) {}

  void Write() {
    out_.Bytes({reinterpret_cast<const std::uint8_t*>(kBodyMagic), 8});
    out_.U16(kBodyFormat);
    const std::size_t lengthAt = out_.Size();
    out_.U32(0);  // content length and check sum, once the content is written
    out_.U32(0);
    WriteHeader();
    const StandardRecords& standard = database_.Standard();
    linetypes_ = Index(standard.linetypeTable);
    layers_ = Index(standard.layerTable);
    blocks_ = Index(standard.blockTable);
    WriteLinetypes();
    WriteLayers();
    out_.U32(IndexOf(layers_, database_.Header().currentLayer, standard.layerZero));
    WriteBlocks();
    out_.Bytes({reinterpret_cast<const std::uint8_t*>(kBodyEndMagic), 8});
    const auto content = std::span(bytes_).subspan(kBodyHeaderBytes);
    out_.PatchU32(lengthAt, static_cast<std::uint32_t>(content.size()));
    out_.PatchU32(lengthAt + 4, fw::Adler32(content));
  }

 private:
  struct Table {
    std::vector<AcDbObjectId> records;
    std::unordered_map<const AcDbStub*, std::uint32_t> indexes;
  };

  // The records of a table that are not erased, in order, with their indexes.
  static Table Index(AcDbObjectId tableId) {
    Table table;
    const auto* symbols = AcDbImpDatabase::PeekAs<AcDbSymbolTable>(tableId);
    for (AcDbObjectId id : AcDbImpDatabase::Records(*symbols)) {
      if (AcDbImpDatabase::IsErased(id)) continue;
      table.indexes[id] = static_cast<std::uint32_t>(table.records.size());
      table.records.push_back(id);
    }
    return table;
  }

  // An object that refers to a record no longer written (its own owner was erased when the
  // record was) refers to `fallback` instead.
  static std::uint32_t IndexOf(const Table& table, AcDbObjectId id, AcDbObjectId fallback) {
    auto found = table.indexes.find(id);
    if (found == table.indexes.end()) found = table.indexes.find(fallback);
    return found == table.indexes.end() ? 0 : found->second;
  }

  void String(const std::wstring& text) {
    const std::string bytes = fw::NativePath(text);
    out_.U32(static_cast<std::uint32_t>(bytes.size()));
    out_.Bytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  }

  void Point(const AcGePoint3d& p) {
    out_.F64(p.x);
    out_.F64(p.y);
    out_.F64(p.z);
  }

  void WriteHeader() {
    const DrawingHeader& header = database_.Header();
    out_.I64(header.created);
    out_.I64(header.updated);
    Point(header.insertionBase);
    out_.F64(header.view.centreX);
    out_.F64(header.view.centreY);
    out_.F64(header.view.width);
    out_.F64(header.view.height);
    for (const std::wstring& field : header.summary) String(field);
  }

  void WriteLinetypes() {
    out_.U32(static_cast<std::uint32_t>(linetypes_.records.size()));
    for (AcDbObjectId id : linetypes_.records) {
      const auto* linetype = AcDbImpDatabase::PeekAs<AcDbLinetypeTableRecord>(id);
      String(AcDbImpDatabase::Name(*linetype));
      ACHAR* description = nullptr;
      (void)linetype->asciiDescription(description);
      String(description == nullptr ? std::wstring() : std::wstring(description));
      acutDelString(description);
      out_.F64(linetype->patternLength());
      out_.U8(static_cast<std::uint8_t>(linetype->numDashes()));
      for (int i = 0; i < linetype->numDashes(); ++i) out_.F64(linetype->dashLengthAt(i));
    }
  }

  void WriteLayers() {
    out_.U32(static_cast<std::uint32_t>(layers_.records.size()));
    for (AcDbObjectId id : layers_.records) {
      const auto* layer = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(id);
      String(AcDbImpDatabase::Name(*layer));
      out_.U16(layer->color().colorIndex());
      out_.U32(IndexOf(linetypes_, layer->linetypeObjectId(), database_.Standard().continuous));
    }
  }

  void WriteBlocks() {
    out_.U32(static_cast<std::uint32_t>(blocks_.records.size()));
    for (AcDbObjectId id : blocks_.records) {
      const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id);
      const ACHAR* text = nullptr;
      String(AcDbImpDatabase::Name(*block));
      (void)block->comments(text);
      String(text);
      (void)block->pathName(text);
      String(text);
      std::uint8_t flags = 0;
      if (block->isFromOverlayReference()) flags |= kBlockOverlay;
      if (AcDbImpDatabase::ForeignContents(*block)) flags |= kBlockForeignContents;
      out_.U8(flags);
      Point(block->origin());
    }
    for (AcDbObjectId id : blocks_.records) {
      const auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(id);
      std::vector<const AcDbEntity*> entities;
      for (AcDbObjectId entityId : AcDbImpDatabase::Entities(*block)) {
        if (AcDbImpDatabase::IsErased(entityId)) continue;
        const auto* entity = AcDbImpDatabase::PeekAs<AcDbEntity>(entityId);
        if (!Writable(*entity)) continue;
        entities.push_back(entity);
      }
      out_.U32(static_cast<std::uint32_t>(entities.size()));
      for (const AcDbEntity* entity : entities) WriteEntity(*entity);
    }
  }

  // A reference to a block that is no longer written is left out.
  bool Writable(const AcDbEntity& entity) const {
    const auto* reference = AcDbBlockReference::cast(&entity);
    return reference == nullptr || blocks_.indexes.contains(reference->blockTableRecord());
  }

  void WriteEntity(const AcDbEntity& entity) {
    const StandardRecords& standard = database_.Standard();
    const EntityKind kind = KindOf(entity);
    out_.U8(static_cast<std::uint8_t>(kind));
    out_.U32(IndexOf(layers_, entity.layerId(), standard.layerZero));
    out_.U32(IndexOf(linetypes_, entity.linetypeId(), standard.byLayer));
    out_.U16(entity.colorIndex());
    switch (kind) {
      case EntityKind::kLine: {
        const auto& line = static_cast<const AcDbLine&>(entity);
        Point(line.startPoint());
        Point(line.endPoint());
        return;
      }
      case EntityKind::kCircle: {
        const auto& circle = static_cast<const AcDbCircle&>(entity);
        Point(circle.center());
        out_.F64(circle.radius());
        return;
      }
      case EntityKind::kArc: {
        const auto& arc = static_cast<const AcDbArc&>(entity);
        Point(arc.center());
        out_.F64(arc.radius());
        out_.F64(arc.startAngle());
        out_.F64(arc.endAngle());
        return;
      }
      case EntityKind::kText:
        WriteText(static_cast<const AcDbText&>(entity));
        return;
      case EntityKind::kAttributeDefinition:
        WriteAttributeDefinition(static_cast<const AcDbAttributeDefinition&>(entity));
        return;
      case EntityKind::kRotatedDimension:
        WriteDimension(static_cast<const AcDbRotatedDimension&>(entity));
        return;
      case EntityKind::kBlockReference:
        WriteReference(static_cast<const AcDbBlockReference&>(entity));
        return;
    }
  }

  static EntityKind KindOf(const AcDbEntity& entity) {
    if (AcDbLine::cast(&entity)) return EntityKind::kLine;
    if (AcDbCircle::cast(&entity)) return EntityKind::kCircle;
    if (AcDbArc::cast(&entity)) return EntityKind::kArc;
    if (AcDbAttributeDefinition::cast(&entity)) return EntityKind::kAttributeDefinition;
    if (AcDbText::cast(&entity)) return EntityKind::kText;
    if (AcDbRotatedDimension::cast(&entity)) return EntityKind::kRotatedDimension;
    return EntityKind::kBlockReference;
  }

  void WriteText(const AcDbText& text) {
    Point(text.position());
    out_.F64(text.height());
    out_.F64(text.rotation());
    String(text.textStringConst());
  }

  void WriteAttributeDefinition(const AcDbAttributeDefinition& definition) {
    WriteText(definition);
    String(definition.tagConst());
    String(definition.promptConst());
    std::uint8_t flags = 0;
    if (definition.isInvisible()) flags |= kAttributeInvisible;
    if (definition.isConstant()) flags |= kAttributeConstant;
    if (definition.isVerifiable()) flags |= kAttributeVerify;
    if (definition.isPreset()) flags |= kAttributePreset;
    out_.U8(flags);
  }

  void WriteDimension(const AcDbRotatedDimension& dimension) {
    Point(dimension.xLine1Point());
    Point(dimension.xLine2Point());
    Point(dimension.dimLinePoint());
    out_.F64(dimension.rotation());
    ACHAR* text = dimension.dimensionText();
    String(text == nullptr ? std::wstring() : std::wstring(text));
    acutDelString(text);
  }

  void WriteReference(const AcDbBlockReference& reference) {
    out_.U32(blocks_.indexes.at(reference.blockTableRecord()));
    Point(reference.position());
    const AcGeScale3d scale = reference.scaleFactors();
    out_.F64(scale.sx);
    out_.F64(scale.sy);
    out_.F64(scale.sz);
    out_.F64(reference.rotation());
  }

  const AcDbImpDatabase& database_;
  std::vector<std::uint8_t>& bytes_;
  fw::ByteWriter out_;
  Table linetypes_;
  Table layers_;
  Table blocks_;
};

}  // namespace

std::vector<std::uint8_t> EncodeDrawing(const AcDbImpDatabase& database) {
  std::vector<std::uint8_t> bytes;
  Encoder(database, bytes).Write();
  return bytes;
}

}  // namespace minicad
