// The run-time class descriptions of the database classes.
#include "arx/dbdim.h"
#include "arx/dbents.h"
#include "arx/dbmain.h"
#include "arx/dbsymtb.h"

#define MINICAD_DEFINE_MEMBERS(CLASS_NAME, PARENT_NAME)                 \
  AcRxClass* CLASS_NAME::desc() {                                       \
    static AcRxClass description(L## #CLASS_NAME, PARENT_NAME::desc()); \
    return &description;                                                \
  }                                                                     \
  AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }

AcRxClass* AcDbObject::desc() {
  static AcRxClass description(L"AcDbObject", nullptr);
  return &description;
}

AcRxClass* AcDbObject::isA() const { return AcDbObject::desc(); }

bool AcDbObject::isKindOf(const AcRxClass* aClass) const {
  return aClass != nullptr && isA()->isDerivedFrom(aClass);
}

MINICAD_DEFINE_MEMBERS(AcDbEntity, AcDbObject)
MINICAD_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
MINICAD_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)
MINICAD_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable)
MINICAD_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable)
MINICAD_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
MINICAD_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord)
MINICAD_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord)
MINICAD_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord)
MINICAD_DEFINE_MEMBERS(AcDbLine, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbCircle, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbArc, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbText, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText)
MINICAD_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbDimension, AcDbEntity)
MINICAD_DEFINE_MEMBERS(AcDbRotatedDimension, AcDbDimension)
