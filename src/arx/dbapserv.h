// The host's application services as databases see them: which database is the working one.
#pragma once

class AcDbDatabase;

class AcDbHostApplicationServices {
 public:
  virtual ~AcDbHostApplicationServices() = default;
  // The database set with setWorkingDatabase while it lives; otherwise the current document's
  // database; nullptr without either.
  AcDbDatabase* workingDatabase() const;
  // nullptr goes back to the current document's database.
  void setWorkingDatabase(AcDbDatabase* pDatabase);
};

AcDbHostApplicationServices* acdbHostApplicationServices();
