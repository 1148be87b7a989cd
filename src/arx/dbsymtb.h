// The symbol tables of a drawing (blocks, layers, linetypes), their records and the iterators
// over them. Names compare without regard to case. A record name is 1 to 255 characters
// without control characters and without any of  < > / \ : ; ? * | , = `  (a name holding "|"
// comes from an external reference and is made by the host only).
#pragma once

#include <string>
#include <vector>

#include "arx/dbmain.h"

class AcDbBlockTableRecordIterator;
class AcDbSymbolTableIterator;

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  ~AcDbSymbolTableRecord() override;

  // A copy the caller releases with acutDelString.
  Acad::ErrorStatus getName(ACHAR*& pName) const;
  // The record's own text, valid while the record is open.
  Acad::ErrorStatus getName(const ACHAR*& pName) const;
  // eInvalidSymbolTableName for a name that cannot be one; eDuplicateRecordName when another
  // record of its table has it.
  Acad::ErrorStatus setName(const ACHAR* pName);
  // True for a record that comes from an external reference (its name holds "|").
  bool isDependent() const;

 protected:
  AcDbSymbolTableRecord() = default;
  AcDbSymbolTableRecord(const AcDbSymbolTableRecord& other) = default;

 private:
  friend class AcDbImpDatabase;
  std::wstring mName;
};

// A table: its records in the order they were added.
class AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
  ~AcDbSymbolTable() override;
  AcDbObject* clone() const override;  // tables are not copied: nullptr

  // eKeyNotFound when no record (not erased, unless asked for) has the name.
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                          bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;

  // Adds a record that belongs to no database; the table must be open for write. The record
  // is then open for write, to be closed by the caller. eDuplicateRecordName,
  // eInvalidSymbolTableName, eNotThatKindOfClass for a record of another table's kind.
  Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);

  // The caller deletes the iterator; it is valid while the table is open.
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  AcDbSymbolTable() = default;
  // Whether a record of this kind belongs in this table.
  virtual bool accepts(const AcDbSymbolTableRecord* record) const = 0;

 private:
  friend class AcDbImpDatabase;
  std::vector<AcDbObjectId> mRecords;
};

// Walks a table's records; by default from the start, skipping erased ones.
class AcDbSymbolTableIterator {
 public:
  virtual ~AcDbSymbolTableIterator();
  AcDbSymbolTableIterator(const AcDbSymbolTableIterator&) = delete;
  AcDbSymbolTableIterator& operator=(const AcDbSymbolTableIterator&) = delete;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;

 protected:
  friend class AcDbSymbolTable;
  explicit AcDbSymbolTableIterator(const AcDbSymbolTable* table);

 private:
  const AcDbSymbolTable* mTable;
  // Position in the table's record list; the list's size when done.
  std::size_t mIndex = 0;
};

// A block definition: model space, a paper space, a block, or an external reference.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  AcDbBlockTableRecord();
  ~AcDbBlockTableRecord() override;
  AcDbObject* clone() const override;  // the header only, without entities

  // Adds an entity that belongs to no database; the record must be open for write. The entity
  // is then open for write. Unset layer and linetype become the database's current layer and
  // ByLayer.
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
  // The caller deletes the iterator; it is valid while the record is open.
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  AcGePoint3d origin() const;
  Acad::ErrorStatus setOrigin(const AcGePoint3d& origin);
  // The block's description. The first form is a copy released with acutDelString.
  Acad::ErrorStatus comments(ACHAR*& pComments) const;
  Acad::ErrorStatus comments(const ACHAR*& pComments) const;
  Acad::ErrorStatus setComments(const ACHAR* pComments);
  // The file of an external reference; empty for other blocks.
  Acad::ErrorStatus pathName(const ACHAR*& pPath) const;
  Acad::ErrorStatus setPathName(const ACHAR* pathStr);

  // Model space ("*Model_Space") and paper spaces ("*Paper_Space...").
  bool isLayout() const;
  // A block the host names itself ("*U1", "*D2"...).
  bool isAnonymous() const;
  bool isFromExternalReference() const;
  bool isFromOverlayReference() const;
  Acad::ErrorStatus setIsFromOverlayReference(bool overlay);
  bool hasAttributeDefinitions() const;

 private:
  friend class AcDbImpDatabase;
  std::vector<AcDbObjectId> mEntities;
  AcGePoint3d mOrigin;
  std::wstring mComments;
  std::wstring mPathName;
  bool mOverlay = false;
  // Made from a drawing whose objects this host cannot read: it has none to show.
  bool mForeignContents = false;
};

// Walks a block definition's entities in the order they were added.
class AcDbBlockTableRecordIterator {
 public:
  ~AcDbBlockTableRecordIterator();
  AcDbBlockTableRecordIterator(const AcDbBlockTableRecordIterator&) = delete;
  AcDbBlockTableRecordIterator& operator=(const AcDbBlockTableRecordIterator&) = delete;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode,
                              bool openErasedEntity = false) const;

 private:
  friend class AcDbBlockTableRecord;
  explicit AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record);
  const AcDbBlockTableRecord* mRecord;
  std::size_t mIndex = 0;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  AcDbLayerTableRecord();
  ~AcDbLayerTableRecord() override;
  AcDbObject* clone() const override;

  // Colour index 1-255 (7 for a new layer).
  AcCmColor color() const;
  Acad::ErrorStatus setColor(const AcCmColor& color);
  // Null until set: the database's Continuous then.
  AcDbObjectId linetypeObjectId() const;
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);

 private:
  friend class AcDbImpDatabase;
  AcCmColor mColor;
  AcDbObjectId mLinetypeId;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  AcDbLinetypeTableRecord();
  ~AcDbLinetypeTableRecord() override;
  AcDbObject* clone() const override;

  // The text shown for the linetype, such as "Hidden __ __ __". A copy released with
  // acutDelString.
  Acad::ErrorStatus asciiDescription(ACHAR*& pDescription) const;
  Acad::ErrorStatus setAsciiDescription(const ACHAR* pDescription);
  double patternLength() const;
  Acad::ErrorStatus setPatternLength(double patternLength);
  // Dashes: positive lengths draw, negative ones leave gaps, zero is a dot.
  int numDashes() const;
  Acad::ErrorStatus setNumDashes(int count);
  double dashLengthAt(int index) const;
  Acad::ErrorStatus setDashLengthAt(int index, double value);

 private:
  friend class AcDbImpDatabase;
  std::wstring mDescription;
  double mPatternLength = 0;
  std::vector<double> mDashes;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbBlockTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbLayerTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbLayerTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbLayerTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbLinetypeTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbLinetypeTableRecord*& pRecord, AcDb::OpenMode openMode,
                              bool openErasedRec = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbLinetypeTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTable);
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbBlockTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  bool accepts(const AcDbSymbolTableRecord* record) const override;
};

class AcDbLayerTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTable);
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLayerTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  Acad::ErrorStatus newIterator(AcDbLayerTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  bool accepts(const AcDbSymbolTableRecord* record) const override;
};

class AcDbLinetypeTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTable);
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  Acad::ErrorStatus newIterator(AcDbLinetypeTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

 protected:
  bool accepts(const AcDbSymbolTableRecord* record) const override;
};

// The names of the two layouts.
#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"
