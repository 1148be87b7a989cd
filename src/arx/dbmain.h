// The drawing database: databases, the objects they own, opening and closing objects, and the
// entities every drawn object derives from.
//
// Objects of a database are opened (acdbOpenObject, or a table's getAt and iterators) and
// closed again with close(). An object may be open for read any number of times at once, or for
// write once; a write-open excludes every other open. Changing an object needs it open for
// write, and opening an object of a document's database for write needs that document locked
// (a command locks its own document while it runs); otherwise the call fails with
// eLockViolation and changes nothing. Objects not yet added to a database belong to whoever made
// them and may be changed freely. A database may be read from another thread while its document
// is locked by that thread and the main thread does not change it.
#pragma once

#include <cstddef>

#include "arx/adesk.h"
#include "arx/dbcolor.h"
#include "arx/dbid.h"
#include "arx/gepnt3d.h"
#include "arx/rxobject.h"

namespace AcDb {

enum OpenMode {
  kForRead = 0,
  kForWrite = 1,
  kForNotify = 2,
};

// Drawing-file format levels, with the host's values.
enum AcDbDwgVersion {
  kDHL_1014 = 21,  // R14
  kDHL_1015 = 23,  // 2000
  kDHL_1018 = 25,  // 2004
  kDHL_1021 = 27,  // 2007
  kDHL_1024 = 29,  // 2010
  kDHL_1027 = 31,  // 2013
  kDHL_1032 = 33,  // 2018
  kDHL_CURRENT = kDHL_1032,
  kDHL_Unknown = 32766,
};

}  // namespace AcDb

class AcDbDatabase;
class AcDbImpDatabase;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;

// The root of every database object.
class AcDbObject : public AcRxObject {
 public:
  static AcRxClass* desc();
  static AcDbObject* cast(const AcRxObject* object) {
    return dynamic_cast<AcDbObject*>(const_cast<AcRxObject*>(object));
  }
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const;

  ~AcDbObject() override;
  AcDbObject& operator=(const AcDbObject&) = delete;

  // Null until the object is added to a database.
  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const;
  AcDbDatabase* database() const;

  bool isErased() const;
  bool isReadEnabled() const;
  bool isWriteEnabled() const;

  // Erases (or, with false, brings back) the object; it must be open for write. Layouts, layer
  // "0", the current layer, the linetypes ByBlock, ByLayer and Continuous, and records that
  // objects still use cannot be erased (eCannotBeErasedByCaller).
  Acad::ErrorStatus erase(bool erasing = true);
  // Turns the caller's only read-open into a write-open (eWasOpenForRead when others read it).
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  // Ends one open. An object that was never added to a database is deleted.
  Acad::ErrorStatus close();

  // A copy of the object that belongs to no database.
  virtual AcDbObject* clone() const = 0;

 protected:
  AcDbObject();
  // A copy belongs to no database.
  AcDbObject(const AcDbObject& other);
  // eOk when the object may change now: it belongs to no database, or it is open for write.
  Acad::ErrorStatus checkWriteEnabled() const;

 private:
  friend class AcDbImpDatabase;
  AcDbStub* mpStub = nullptr;
};

// An object that is drawn: it has a layer, a colour index and a linetype.
class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);
  ~AcDbEntity() override;

  // The layer's name, a copy the caller releases with acutDelString; nullptr when not set.
  ACHAR* layer() const;
  AcDbObjectId layerId() const;
  // By name: looked up in the entity's database (the working database for an entity that has
  // none); eKeyNotFound for a layer that does not exist. Sub-entities have none here.
  Acad::ErrorStatus setLayer(const ACHAR* newVal, bool doSubents = true);
  Acad::ErrorStatus setLayer(AcDbObjectId newVal, bool doSubents = true);

  // 0 ByBlock, 1-255, 256 ByLayer (the default).
  Adesk::UInt16 colorIndex() const;
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true);

  // "ByLayer", "ByBlock" or a linetype's name, a copy the caller releases with acutDelString;
  // nullptr when not set.
  ACHAR* linetype() const;
  AcDbObjectId linetypeId() const;
  Acad::ErrorStatus setLinetype(const ACHAR* newVal, bool doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId newVal, bool doSubents = true);

  // The database's current layer and linetype ByLayer (the working database when null).
  Acad::ErrorStatus setDatabaseDefaults(AcDbDatabase* pDb = nullptr);

 protected:
  AcDbEntity();
  AcDbEntity(const AcDbEntity& other) = default;

 private:
  friend class AcDbImpDatabase;
  AcDbObjectId mLayerId;
  AcDbObjectId mLinetypeId;
  Adesk::UInt16 mColorIndex = AcCmColor::kByLayer;
};

// Opens the object behind `id`. eNullObjectId for a null id, eInvalidInput for an id that
// names no object, eWasErased for an erased one (unless `openErased`), eWasOpenForWrite,
// eWasOpenForRead and eLockViolation as described above. `pObj` is null on failure.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

// Opens as a given class: eNotThatKindOfClass (and the object closed again) for another class.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
  pObj = nullptr;
  AcDbObject* object = nullptr;
  Acad::ErrorStatus status = acdbOpenObject(object, id, mode, openErased);
  if (status != Acad::eOk) return status;
  pObj = T::cast(object);
  if (pObj == nullptr) {
    object->close();
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

// A drawing database: its symbol tables, its entities in model space and the block
// definitions, and its header values. Made empty (`buildDefaultDrawing` false, to read a file
// into) or as a new drawing: tables with model and paper space, layer "0", the linetypes
// ByBlock, ByLayer and Continuous.
class AcDbDatabase {
 public:
  // How a file is shared while it is read; minicad reads the whole file at once and keeps
  // nothing open, so every mode reads alike.
  enum OpenMode {
    kForReadAndReadShare = 1,
    kForReadAndWriteNoShare = 2,
    kForReadAndAllShare = 3,
    kTryForReadShare = 4,
  };

  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase();
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  // Replaces the contents with the drawing in `fileName`. eFileNotFound when it does not
  // exist; eFileAccessErr when it is no regular file or cannot be read; eInvalidDwgVersion for
  // a drawing this host does not read (a drawing of another program); eBadDwgHeader for a
  // damaged one. On failure the database is unchanged.
  Acad::ErrorStatus readDwgFile(const ACHAR* fileName, OpenMode openMode = kForReadAndReadShare,
                                bool bAllowCPConversion = false,
                                const wchar_t* wszPassword = nullptr);
  // Writes the drawing in the format `dwgVer` (R14 to 2018), with a preview of model space (or
  // the preview read with the file, when asked to retain it). The file is written beside the
  // target and then put in its place; with `bBakAndRename` an existing file is kept with the
  // extension ".bak". eInvalidDwgVersion for another format; eFileAccessErr when it cannot be
  // written (the target is then unchanged).
  Acad::ErrorStatus saveAs(const ACHAR* fileName, bool bBakAndRename = true,
                           AcDb::AcDbDwgVersion dwgVer = AcDb::kDHL_CURRENT,
                           const void* pSecParams = nullptr);
  // The file last read or saved; empty for a drawing never read or saved.
  Acad::ErrorStatus getFilename(const ACHAR*& pOutput) const;
  // The format of the file read; kDHL_CURRENT for a new drawing.
  AcDb::AcDbDwgVersion originalFileVersion() const;
  // Whether saveAs writes the preview the file had when it was read instead of a new one.
  void setRetainOriginalThumbnailBitmap(bool retain);
  bool retainOriginalThumbnailBitmap() const;

  // The tables, opened; eNullObjectId in a database that holds no drawing.
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode);
  AcDbObjectId blockTableId() const;
  AcDbObjectId layerTableId() const;
  AcDbObjectId linetypeTableId() const;

  // The current layer; setClayer takes a layer of this database that is not erased.
  AcDbObjectId clayer() const;
  Acad::ErrorStatus setClayer(AcDbObjectId objId);
  AcDbObjectId byLayerLinetype() const;
  AcDbObjectId byBlockLinetype() const;
  AcDbObjectId continuousLinetype() const;
  // The drawing's insertion base point.
  AcGePoint3d insbase() const;
  Acad::ErrorStatus setInsbase(const AcGePoint3d& base);

  // Makes the model space of `pDb` the block definition `pBlockName` of this database
  // (redefining one of that name), bringing along the layers, linetypes and block definitions
  // it uses that this database lacks. `pDb` stays as it was. eInvalidInput for a name that
  // cannot be a block name, eSelfReference when the definition would contain itself.
  Acad::ErrorStatus insert(AcDbObjectId& blockId, const ACHAR* pBlockName, AcDbDatabase* pDb,
                           bool preserveSourceDatabase = true);

 private:
  friend class AcDbImpDatabase;
  AcDbImpDatabase* mpImpDb;
};
