// The body reader: the header, the tables and every entity, bounded by the bytes at hand.
#include "minicad/DrawingDecoder.h"

#include <cstring>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "arx/dbdim.h"
#include "fw/ByteReader.h"
#include "fw/Compression.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DrawingBodyFormat.h"
#include "minicad/Finite.h"
#include "minicad/SymbolNames.h"

namespace minicad {
namespace {

// The reader stops at the first problem; every later read then fails quietly, and the first
// problem is the one reported.
class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> body, AcDbImpDatabase& database)
      : in_(body), database_(database) {}

  fw::Status Read(bool verifyChecksum) {
    if (!Magic(kBodyMagic) || in_.U16() != kBodyFormat) return Failed(L"no drawing body");
    const std::uint32_t length = in_.U32();
    const std::uint32_t checksum = in_.U32();
    if (!Ok() || length > in_.Remaining()) {
      return Failed(fw::Format(L"the body claims %u bytes; %zu are left", length, in_.Remaining()));
    }
    // Only the content is read: bytes after it (a preview appended to the file) are not ours.
    const auto content = in_.Bytes(length);
    if (verifyChecksum && fw::Adler32(content) != checksum) {
      return Failed(L"the body's check sum does not match: the drawing is damaged");
    }
    in_ = fw::ByteReader(content);
    base_ = kBodyHeaderBytes;
    ReadHeader();
    MakeTables();
    ReadLinetypes();
    ReadLayers();
    ReadCurrentLayer();
    ReadBlocks();
    for (std::size_t i = 0; i < blocks_.size() && error_.empty(); ++i) ReadEntities(i);
    if (error_.empty() && !Magic(kBodyEndMagic)) Fail(L"the body does not end where it should");
    if (error_.empty() && !database_.FindStandardRecords()) {
      Fail(L"a standard record (model space, layer 0, ByBlock, ByLayer, Continuous) is missing");
    }
    if (error_.empty() && HasCycle()) Fail(L"a block places itself");
    return error_.empty() ? fw::Status::Success() : fw::Status::Failure(error_);
  }

 private:
  bool Ok() {
    if (in_.Overrun()) Fail(L"the body ends early");
    return error_.empty();
  }

  void Fail(const std::wstring& what) {
    if (error_.empty()) {
      error_ = fw::Format(L"%ls (body offset %zu)", what.c_str(), base_ + in_.Position());
    }
  }

  fw::Status Failed(const std::wstring& what) {
    Fail(what);
    return fw::Status::Failure(error_);
  }

  bool Magic(const char (&magic)[9]) {
    const auto bytes = in_.Bytes(8);
    return bytes.size() == 8 && std::memcmp(bytes.data(), magic, 8) == 0;
  }

  double Number() {
    const double value = in_.F64();
    if (!IsFinite(value)) Fail(L"a number is no ordinary number");
    return value;
  }

  AcGePoint3d Point() {
    const double x = Number();
    const double y = Number();
    return {x, y, Number()};
  }

  std::wstring String() {
    const std::uint32_t size = in_.U32();
    if (size > kMaxStringBytes) {
      Fail(fw::Format(L"a string claims %u bytes", size));
      return {};
    }
    const auto bytes = in_.Bytes(size);
    return fw::FromNativePath({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }

  // A count of items of at least `itemBytes` each, checked against the bytes left.
  std::uint32_t Count(std::size_t itemBytes, const wchar_t* what) {
    const std::uint32_t count = in_.U32();
    if (!Ok()) return 0;
    if (count > in_.Remaining() / itemBytes) {
      Fail(fw::Format(L"%ls count %u exceeds the %zu bytes left", what, count, in_.Remaining()));
      return 0;
    }
    return count;
  }

  AcDbObjectId IndexInto(const std::vector<AcDbObjectId>& records, const wchar_t* what) {
    const std::uint32_t index = in_.U32();
    if (!Ok()) return AcDbObjectId::kNull;
    if (index >= records.size()) {
      Fail(fw::Format(L"%ls index %u; there are %zu", what, index, records.size()));
      return AcDbObjectId::kNull;
    }
    return records[index];
  }

  void ReadHeader() {
    DrawingHeader& header = database_.Header();
    header.created = in_.I64();
    header.updated = in_.I64();
    header.insertionBase = Point();
    header.view.centreX = Number();
    header.view.centreY = Number();
    header.view.width = Number();
    header.view.height = Number();
    for (std::wstring& field : header.summary) field = String();
    if (!(header.view.width > 0 && header.view.height > 0)) Fail(L"the saved view is empty");
  }

  void MakeTables() {
    StandardRecords& standard = database_.Standard();
    standard.blockTable = database_.Add(std::make_unique<AcDbBlockTable>(), {}, false);
    standard.layerTable = database_.Add(std::make_unique<AcDbLayerTable>(), {}, false);
    standard.linetypeTable = database_.Add(std::make_unique<AcDbLinetypeTable>(), {}, false);
  }

  // Checks a record's name against the table's rules and the names read before.
  bool TakeName(const std::wstring& name, std::unordered_set<std::wstring>& seen, bool block) {
    const bool dependent = name.find(L'|') != std::wstring::npos;
    const bool reserved = block && !name.empty() && name.front() == L'*';
    if (!IsValidSymbolName(name, dependent, reserved)) {
      Fail(L"a record name cannot be one");
      return false;
    }
    if (!seen.insert(fw::ToUpper(name)).second) {
      Fail(L"two records have the name " + name);
      return false;
    }
    return true;
  }

  void AddRecord(AcDbObjectId table, std::unique_ptr<AcDbSymbolTableRecord> record,
                 std::vector<AcDbObjectId>& ids) {
    ids.push_back(database_.AddRecord(table, std::move(record)));
  }

  void ReadLinetypes() {
    std::unordered_set<std::wstring> seen;
    const std::uint32_t count = Count(17, L"linetype");
    for (std::uint32_t i = 0; i < count && Ok(); ++i) {
      auto record = std::make_unique<AcDbLinetypeTableRecord>();
      AcDbImpDatabase::Name(*record) = String();
      if (!TakeName(AcDbImpDatabase::Name(*record), seen, false)) return;
      (void)record->setAsciiDescription(String().c_str());
      const double pattern = Number();
      const unsigned dashes = in_.U8();
      if (record->setPatternLength(pattern) != Acad::eOk ||
          record->setNumDashes(static_cast<int>(dashes)) != Acad::eOk) {
        return Fail(L"a linetype's pattern cannot be one");
      }
      for (unsigned d = 0; d < dashes; ++d) {
        (void)record->setDashLengthAt(static_cast<int>(d), Number());
      }
      AddRecord(database_.Standard().linetypeTable, std::move(record), linetypes_);
    }
  }

  void ReadLayers() {
    std::unordered_set<std::wstring> seen;
    const std::uint32_t count = Count(10, L"layer");
    for (std::uint32_t i = 0; i < count && Ok(); ++i) {
      auto record = std::make_unique<AcDbLayerTableRecord>();
      AcDbImpDatabase::Name(*record) = String();
      if (!TakeName(AcDbImpDatabase::Name(*record), seen, false)) return;
      AcCmColor color;
      if (color.setColorIndex(in_.U16()) != Acad::eOk || record->setColor(color) != Acad::eOk) {
        return Fail(L"a layer's colour cannot be one");
      }
      const AcDbObjectId linetype = IndexInto(linetypes_, L"linetype");
      if (!Ok()) return;
      (void)record->setLinetypeObjectId(linetype);
      AddRecord(database_.Standard().layerTable, std::move(record), layers_);
    }
  }

  void ReadCurrentLayer() {
    database_.Header().currentLayer = IndexInto(layers_, L"current layer");
  }

  void ReadBlocks() {
    std::unordered_set<std::wstring> seen;
    const std::uint32_t count = Count(37, L"block");
    for (std::uint32_t i = 0; i < count && Ok(); ++i) {
      auto record = std::make_unique<AcDbBlockTableRecord>();
      AcDbImpDatabase::Name(*record) = String();
      if (!TakeName(AcDbImpDatabase::Name(*record), seen, true)) return;
      (void)record->setComments(String().c_str());
      (void)record->setPathName(String().c_str());
      const std::uint8_t flags = in_.U8();
      (void)record->setIsFromOverlayReference((flags & kBlockOverlay) != 0);
      AcDbImpDatabase::ForeignContents(*record) = (flags & kBlockForeignContents) != 0;
      (void)record->setOrigin(Point());
      AddRecord(database_.Standard().blockTable, std::move(record), blocks_);
    }
  }

  void ReadEntities(std::size_t blockIndex) {
    auto* block = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(blocks_[blockIndex]);
    const std::uint32_t count = Count(kMinEntityBytes, L"entity");
    for (std::uint32_t i = 0; i < count && Ok(); ++i) {
      std::unique_ptr<AcDbEntity> entity = ReadEntity(blockIndex);
      if (!entity || !Ok()) return;
      AcDbObjectId id = database_.Add(std::move(entity), blocks_[blockIndex], false);
      AcDbImpDatabase::Entities(*block).push_back(id);
    }
  }

  std::unique_ptr<AcDbEntity> ReadEntity(std::size_t blockIndex) {
    const auto kind = static_cast<EntityKind>(in_.U8());
    const AcDbObjectId layer = IndexInto(layers_, L"layer");
    const AcDbObjectId linetype = IndexInto(linetypes_, L"linetype");
    const std::uint16_t color = in_.U16();
    std::unique_ptr<AcDbEntity> entity = ReadShape(kind, blockIndex);
    if (!entity || !Ok()) return nullptr;
    if (color > AcCmColor::kByLayer) {
      Fail(fw::Format(L"colour index %u", color));
      return nullptr;
    }
    AcDbImpDatabase::LayerId(*entity) = layer;
    AcDbImpDatabase::LinetypeId(*entity) = linetype;
    AcDbImpDatabase::ColorIndex(*entity) = color;
    return entity;
  }

  // Setters refuse what an object cannot hold; such a value is damage.
  void Check(Acad::ErrorStatus status, const wchar_t* what) {
    if (status != Acad::eOk) Fail(fw::Format(L"%ls cannot be one", what));
  }

  std::unique_ptr<AcDbEntity> ReadShape(EntityKind kind, std::size_t blockIndex) {
    switch (kind) {
      case EntityKind::kLine: {
        const AcGePoint3d start = Point();
        return std::make_unique<AcDbLine>(start, Point());
      }
      case EntityKind::kCircle: {
        auto circle = std::make_unique<AcDbCircle>();
        Check(circle->setCenter(Point()), L"a circle's centre");
        Check(circle->setRadius(Number()), L"a circle's radius");
        return circle;
      }
      case EntityKind::kArc: {
        auto arc = std::make_unique<AcDbArc>();
        Check(arc->setCenter(Point()), L"an arc's centre");
        Check(arc->setRadius(Number()), L"an arc's radius");
        Check(arc->setStartAngle(Number()), L"an arc's start angle");
        Check(arc->setEndAngle(Number()), L"an arc's end angle");
        return arc;
      }
      case EntityKind::kText: {
        auto text = std::make_unique<AcDbText>();
        ReadText(*text);
        return text;
      }
      case EntityKind::kAttributeDefinition:
        return ReadAttributeDefinition();
      case EntityKind::kRotatedDimension:
        return ReadDimension();
      case EntityKind::kBlockReference:
        return ReadReference(blockIndex);
    }
    Fail(fw::Format(L"entity kind %u", static_cast<unsigned>(kind)));
    return nullptr;
  }

  void ReadText(AcDbText& text) {
    Check(text.setPosition(Point()), L"a text's position");
    Check(text.setHeight(Number()), L"a text's height");
    Check(text.setRotation(Number()), L"a text's rotation");
    Check(text.setTextString(String().c_str()), L"a text");
  }

  std::unique_ptr<AcDbEntity> ReadAttributeDefinition() {
    auto definition = std::make_unique<AcDbAttributeDefinition>();
    ReadText(*definition);
    Check(definition->setTag(String().c_str()), L"an attribute tag");
    Check(definition->setPrompt(String().c_str()), L"an attribute prompt");
    const std::uint8_t flags = in_.U8();
    (void)definition->setInvisible((flags & kAttributeInvisible) != 0);
    (void)definition->setConstant((flags & kAttributeConstant) != 0);
    (void)definition->setVerifiable((flags & kAttributeVerify) != 0);
    (void)definition->setPreset((flags & kAttributePreset) != 0);
    return definition;
  }

  std::unique_ptr<AcDbEntity> ReadDimension() {
    auto dimension = std::make_unique<AcDbRotatedDimension>();
    Check(dimension->setXLine1Point(Point()), L"a dimension point");
    Check(dimension->setXLine2Point(Point()), L"a dimension point");
    Check(dimension->setDimLinePoint(Point()), L"a dimension point");
    Check(dimension->setRotation(Number()), L"a dimension's rotation");
    Check(dimension->setDimensionText(String().c_str()), L"a dimension's text");
    return dimension;
  }

  std::unique_ptr<AcDbEntity> ReadReference(std::size_t blockIndex) {
    const std::uint32_t index = in_.U32();
    if (!Ok()) return nullptr;
    if (index >= blocks_.size() || index == blockIndex ||
        AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(blocks_[index])->isLayout()) {
      Fail(fw::Format(L"a reference names block %u", index));
      return nullptr;
    }
    auto reference = std::make_unique<AcDbBlockReference>(AcGePoint3d(), blocks_[index]);
    Check(reference->setPosition(Point()), L"a reference's position");
    const double sx = Number();
    const double sy = Number();
    Check(reference->setScaleFactors(AcGeScale3d(sx, sy, Number())), L"a reference's scale");
    Check(reference->setRotation(Number()), L"a reference's rotation");
    references_.push_back({blockIndex, index});
    return reference;
  }

  // Peels off blocks that place no block left; whatever remains places itself.
  bool HasCycle() const {
    std::vector<std::set<std::size_t>> places(blocks_.size());
    std::vector<std::vector<std::size_t>> placedBy(blocks_.size());
    for (const auto& [owner, placed] : references_) {
      if (places[owner].insert(placed).second) placedBy[placed].push_back(owner);
    }
    std::vector<std::size_t> remaining(blocks_.size());
    std::deque<std::size_t> free;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
      remaining[i] = places[i].size();
      if (remaining[i] == 0) free.push_back(i);
    }
    std::size_t peeled = 0;
    while (!free.empty()) {
      const std::size_t block = free.front();
      free.pop_front();
      ++peeled;
      for (std::size_t owner : placedBy[block]) {
        if (--remaining[owner] == 0) free.push_back(owner);
      }
    }
    return peeled != blocks_.size();
  }

  fw::ByteReader in_;
  // Where `in_` starts in the body, for the offsets errors name.
  std::size_t base_ = 0;
  AcDbImpDatabase& database_;
  std::vector<AcDbObjectId> linetypes_;
  std::vector<AcDbObjectId> layers_;
  std::vector<AcDbObjectId> blocks_;
  std::vector<std::pair<std::size_t, std::size_t>> references_;
  std::wstring error_;
};

}  // namespace

fw::Status DecodeDrawing(std::span<const std::uint8_t> body, AcDbImpDatabase& database,
                         bool verifyChecksum) {
  return Decoder(body, database).Read(verifyChecksum);
}

}  // namespace minicad
