// The working database kept for acdbHostApplicationServices.
#pragma once

class AcDbDatabase;

namespace minicad {

// A database being deleted stops being the working one.
void ForgetWorkingDatabase(const AcDbDatabase* database);

}  // namespace minicad
