// A drawing's summary information: title, subject, author, keywords, comments and the rest of
// the drawing properties, read from and written back to a database as a whole.
#pragma once

#include <string>

#include "arx/adesk.h"

class AcDbDatabase;

class AcDbDatabaseSummaryInfo {
 public:
  AcDbDatabaseSummaryInfo();
  virtual ~AcDbDatabaseSummaryInfo();

  // Each getter gives a copy the caller releases with acutDelString; a null setter argument
  // reads as empty text. eInvalidInput for text longer than kMaxFieldLength characters.
  Acad::ErrorStatus getTitle(ACHAR*& title) const;
  Acad::ErrorStatus setTitle(const ACHAR* title);
  Acad::ErrorStatus getSubject(ACHAR*& subject) const;
  Acad::ErrorStatus setSubject(const ACHAR* subject);
  Acad::ErrorStatus getAuthor(ACHAR*& author) const;
  Acad::ErrorStatus setAuthor(const ACHAR* author);
  Acad::ErrorStatus getKeywords(ACHAR*& keywordlist) const;
  Acad::ErrorStatus setKeywords(const ACHAR* keywordlist);
  // The drawing's description: what the library browser shows for it.
  Acad::ErrorStatus getComments(ACHAR*& comments) const;
  Acad::ErrorStatus setComments(const ACHAR* comments);
  Acad::ErrorStatus getLastSavedBy(ACHAR*& lastSavedBy) const;
  Acad::ErrorStatus setLastSavedBy(const ACHAR* lastSavedBy);
  Acad::ErrorStatus getRevisionNumber(ACHAR*& revisionNumber) const;
  Acad::ErrorStatus setRevisionNumber(const ACHAR* revisionNumber);
  Acad::ErrorStatus getHyperlinkBase(ACHAR*& hyperlinkBase) const;
  Acad::ErrorStatus setHyperlinkBase(const ACHAR* hyperlinkBase);

  // The database the information was read from and is written back to.
  AcDbDatabase* database() const;
  void setDatabase(AcDbDatabase* pDb);

  static constexpr std::size_t kMaxFieldLength = 32768;

  enum Field {
    kTitle,
    kSubject,
    kAuthor,
    kKeywords,
    kComments,
    kLastSavedBy,
    kRevisionNumber,
    kHyperlinkBase,
    kFieldCount
  };

 private:
  friend Acad::ErrorStatus acdbGetSummaryInfo(AcDbDatabase* pDb, AcDbDatabaseSummaryInfo*& pInfo);
  friend Acad::ErrorStatus acdbPutSummaryInfo(const AcDbDatabaseSummaryInfo* pInfo);
  Acad::ErrorStatus get(Field field, ACHAR*& value) const;
  Acad::ErrorStatus set(Field field, const ACHAR* value);

  std::wstring mFields[kFieldCount];
  AcDbDatabase* mDatabase = nullptr;
};

// A new object holding the summary information of `pDb`, owned by the caller (delete it).
// eNoDatabase for a null database.
Acad::ErrorStatus acdbGetSummaryInfo(AcDbDatabase* pDb, AcDbDatabaseSummaryInfo*& pInfo);
// Writes the information back into its database (eLockViolation, changing nothing, for the
// database of a document that is not locked).
Acad::ErrorStatus acdbPutSummaryInfo(const AcDbDatabaseSummaryInfo* pInfo);
