// Summary information: the drawing properties as one object, read from and written back to a
// database.
#include "arx/summinfo.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/CallerText.h"

AcDbDatabaseSummaryInfo::AcDbDatabaseSummaryInfo() = default;
AcDbDatabaseSummaryInfo::~AcDbDatabaseSummaryInfo() = default;

Acad::ErrorStatus AcDbDatabaseSummaryInfo::get(Field field, ACHAR*& value) const {
  value = minicad::CopyForCaller(mFields[field]);
  return value == nullptr ? Acad::eOutOfMemory : Acad::eOk;
}

Acad::ErrorStatus AcDbDatabaseSummaryInfo::set(Field field, const ACHAR* value) {
  std::wstring text = minicad::TextOf(value);
  if (text.size() > kMaxFieldLength) return Acad::eInvalidInput;
  mFields[field] = std::move(text);
  return Acad::eOk;
}

#define MINICAD_SUMMARY_FIELD(NAME, FIELD)                                    \
  Acad::ErrorStatus AcDbDatabaseSummaryInfo::get##NAME(ACHAR*& value) const { \
    return get(FIELD, value);                                                 \
  }                                                                           \
  Acad::ErrorStatus AcDbDatabaseSummaryInfo::set##NAME(const ACHAR* value) {  \
    return set(FIELD, value);                                                 \
  }

MINICAD_SUMMARY_FIELD(Title, kTitle)
MINICAD_SUMMARY_FIELD(Subject, kSubject)
MINICAD_SUMMARY_FIELD(Author, kAuthor)
MINICAD_SUMMARY_FIELD(Keywords, kKeywords)
MINICAD_SUMMARY_FIELD(Comments, kComments)
MINICAD_SUMMARY_FIELD(LastSavedBy, kLastSavedBy)
MINICAD_SUMMARY_FIELD(RevisionNumber, kRevisionNumber)
MINICAD_SUMMARY_FIELD(HyperlinkBase, kHyperlinkBase)

AcDbDatabase* AcDbDatabaseSummaryInfo::database() const { return mDatabase; }

void AcDbDatabaseSummaryInfo::setDatabase(AcDbDatabase* pDb) { mDatabase = pDb; }

Acad::ErrorStatus acdbGetSummaryInfo(AcDbDatabase* pDb, AcDbDatabaseSummaryInfo*& pInfo) {
  pInfo = nullptr;
  if (pDb == nullptr) return Acad::eNoDatabase;
  auto* info = new AcDbDatabaseSummaryInfo;
  const minicad::DrawingHeader& header = AcDbImpDatabase::Of(*pDb).Header();
  for (int field = 0; field < AcDbDatabaseSummaryInfo::kFieldCount; ++field) {
    info->mFields[field] = header.summary[field];
  }
  info->setDatabase(pDb);
  pInfo = info;
  return Acad::eOk;
}

Acad::ErrorStatus acdbPutSummaryInfo(const AcDbDatabaseSummaryInfo* pInfo) {
  if (pInfo == nullptr) return Acad::eNullObjectPointer;
  AcDbDatabase* database = pInfo->database();
  if (database == nullptr) return Acad::eNoDatabase;
  AcDbImpDatabase& inside = AcDbImpDatabase::Of(*database);
  if (!inside.WriteAllowed()) return Acad::eLockViolation;
  for (int field = 0; field < AcDbDatabaseSummaryInfo::kFieldCount; ++field) {
    inside.Header().summary[field] = pInfo->mFields[field];
  }
  return Acad::eOk;
}
