// The inside of a drawing database: its object records, the open and close rules, the lock rule
// for documents, the standard records every drawing has, and the header values (current layer,
// insertion base, dates, summary information, model-space view, preview read with the file).
//
// Threads: the main thread changes a database; another thread may read it (open for read,
// walk, close) while its document is locked. Every open, close, erase and addition takes the
// database's mutex, so two threads never change the same record's state at once and a thread
// that opens an object sees what the last writer left when it closed it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arx/dbents.h"
#include "arx/dbmain.h"
#include "arx/dbsymtb.h"
#include "arx/summinfo.h"

class AcDbStub;

namespace minicad {

class Document;

// The view of model space the drawing was saved with: what its preview shows.
struct ModelView {
  double centreX = 0;
  double centreY = 0;
  double width = 1;
  double height = 1;
};

// A preview as it lies in a drawing file: a packed bitmap or a PNG stream.
struct StoredPreview {
  bool png = false;
  std::vector<std::uint8_t> bytes;
};

// The records every drawing has, found once when the drawing is made or read.
struct StandardRecords {
  AcDbObjectId blockTable;
  AcDbObjectId layerTable;
  AcDbObjectId linetypeTable;
  AcDbObjectId modelSpace;
  AcDbObjectId paperSpace;
  AcDbObjectId layerZero;
  AcDbObjectId byBlock;
  AcDbObjectId byLayer;
  AcDbObjectId continuous;
};

// Header values of a drawing.
struct DrawingHeader {
  AcDbObjectId currentLayer;
  AcGePoint3d insertionBase;
  std::int64_t created = 0;  // seconds since 1970
  std::int64_t updated = 0;
  ModelView view;
  std::wstring summary[AcDbDatabaseSummaryInfo::kFieldCount];
};

}  // namespace minicad

class AcDbImpDatabase {
 public:
  explicit AcDbImpDatabase(AcDbDatabase& owner);
  ~AcDbImpDatabase();
  AcDbImpDatabase(const AcDbImpDatabase&) = delete;
  AcDbImpDatabase& operator=(const AcDbImpDatabase&) = delete;

  static AcDbImpDatabase& Of(const AcDbDatabase& database) { return *database.mpImpDb; }
  // The database an object belongs to, or nullptr for one that belongs to none.
  static AcDbImpDatabase* DatabaseOf(const AcDbObject& object);
  static AcDbStub* StubOf(const AcDbObject& object) { return object.mpStub; }
  // Exchanges the contents of two databases (a file read into a fresh one replaces the old
  // contents at once); each keeps its document and its place as a database.
  static void SwapContents(AcDbDatabase& a, AcDbDatabase& b);

  AcDbDatabase& Owner() const { return *owner_; }
  // The document whose lock allows writes; nullptr for a database of no document.
  void SetDocument(const minicad::Document* document) { document_ = document; }
  bool WriteAllowed() const;

  // --- Objects -----------------------------------------------------------------------------

  // Takes an object that belongs to no database; it is open for write when asked.
  AcDbObjectId Add(std::unique_ptr<AcDbObject> object, AcDbObjectId owner, bool openForWrite);
  // The object behind an id of any live database, without opening it, for the host's own reads
  // and for changes the host makes while it holds the object's owner open for write; nullptr
  // for an id that names no object.
  static AcDbObject* Peek(AcDbObjectId id);
  template <class T>
  static T* PeekAs(AcDbObjectId id) {
    return T::cast(Peek(id));
  }
  static bool IsErased(AcDbObjectId id);
  // Whether the id names an object of this database.
  bool Owns(AcDbObjectId id) const;

  static Acad::ErrorStatus Open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased,
                                AcDbObject*& object);
  Acad::ErrorStatus Close(AcDbStub& stub);
  Acad::ErrorStatus Upgrade(AcDbStub& stub);
  Acad::ErrorStatus Downgrade(AcDbStub& stub);
  Acad::ErrorStatus Erase(AcDbStub& stub, bool erasing);
  bool IsReadOpen(const AcDbStub& stub) const;
  bool IsWriteOpen(const AcDbStub& stub) const;

  // --- Tables and records --------------------------------------------------------------------

  // A drawing with model and paper space, layer "0" and the three standard linetypes, made at
  // `now`.
  void BuildDefaultDrawing(std::int64_t now);
  // Adds a record to a table without the checks of the table's add: for the host's own records
  // (the standard ones, those read from a file, which are checked as they are read).
  AcDbObjectId AddRecord(AcDbObjectId table, std::unique_ptr<AcDbSymbolTableRecord> record);
  // Finds the standard records again after the tables were filled from a file; false when one
  // is missing.
  bool FindStandardRecords();
  // The record named `name` (without regard to case) of a table, or null.
  AcDbObjectId FindRecord(AcDbObjectId table, std::wstring_view name,
                          bool includeErased = false) const;
  // The blocks that place `block` (directly or through other blocks), `block` included.
  std::vector<AcDbObjectId> BlocksPlacing(AcDbObjectId block) const;

  const minicad::StandardRecords& Standard() const { return standard_; }
  minicad::StandardRecords& Standard() { return standard_; }
  minicad::DrawingHeader& Header() { return header_; }
  const minicad::DrawingHeader& Header() const { return header_; }
  std::wstring& FileName() { return fileName_; }
  AcDb::AcDbDwgVersion& Version() { return version_; }
  bool& RetainThumbnail() { return retainThumbnail_; }
  std::optional<minicad::StoredPreview>& OriginalPreview() { return originalPreview_; }

  // Access to the private parts of the interface's classes.
  static std::vector<AcDbObjectId>& Records(AcDbSymbolTable& table) { return table.mRecords; }
  static const std::vector<AcDbObjectId>& Records(const AcDbSymbolTable& table) {
    return table.mRecords;
  }
  static const std::wstring& Name(const AcDbSymbolTableRecord& record) { return record.mName; }
  static std::wstring& Name(AcDbSymbolTableRecord& record) { return record.mName; }
  static std::vector<AcDbObjectId>& Entities(AcDbBlockTableRecord& block) {
    return block.mEntities;
  }
  static const std::vector<AcDbObjectId>& Entities(const AcDbBlockTableRecord& block) {
    return block.mEntities;
  }
  static bool& ForeignContents(AcDbBlockTableRecord& block) { return block.mForeignContents; }
  static bool ForeignContents(const AcDbBlockTableRecord& block) { return block.mForeignContents; }
  static AcDbObjectId& LayerId(AcDbEntity& entity) { return entity.mLayerId; }
  static AcDbObjectId& LinetypeId(AcDbEntity& entity) { return entity.mLinetypeId; }
  static Adesk::UInt16& ColorIndex(AcDbEntity& entity) { return entity.mColorIndex; }

  // Iterating a list of ids, as the table and block iterators do: the first position from the
  // start or the end, and the next one forward or back, skipping erased objects when asked; the
  // list's size stands for done.
  static std::size_t FirstPosition(const std::vector<AcDbObjectId>& ids, bool atBeginning,
                                   bool skipErased);
  static std::size_t NextPosition(const std::vector<AcDbObjectId>& ids, std::size_t position,
                                  bool forward, bool skipErased);

 private:
  Acad::ErrorStatus CheckErase(const AcDbStub& stub) const;
  Acad::ErrorStatus CheckUnerase(const AcDbStub& stub) const;
  bool IsUsedByEntities(AcDbObjectId record) const;

  AcDbDatabase* owner_;
  const minicad::Document* document_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<AcDbStub>> stubs_;
  minicad::StandardRecords standard_;
  minicad::DrawingHeader header_;
  std::wstring fileName_;
  AcDb::AcDbDwgVersion version_ = AcDb::kDHL_CURRENT;
  bool retainThumbnail_ = false;
  std::optional<minicad::StoredPreview> originalPreview_;
};
