// Basic types of the host interface: the host's character type and fixed-width integers.
#pragma once

#include <cstdint>

using ACHAR = wchar_t;

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
constexpr Boolean kFalse = false;
constexpr Boolean kTrue = true;
}  // namespace Adesk

namespace Acad {
// Result of database and service calls; zero is success.
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eOutOfMemory = 6,
  eKeyNotFound = 7,
  eDuplicateKey = 8,
  eInvalidOpenState = 9,
  eNullObjectPointer = 11,
  eNullObjectId = 16,
  eNotThatKindOfClass = 19,
  eNotInDatabase = 26,
  eAlreadyInDb = 27,
  eInvalidSymbolTableName = 28,
  eWasErased = 34,
  eAtMaxReaders = 80,
  eWasOpenForRead = 81,
  eWasOpenForWrite = 82,
  eFileNotFound = 83,
  eInvalidDwgVersion = 85,
  eFileAccessErr = 86,
  eBadDwgHeader = 87,
  eDuplicateRecordName = 97,
  eNoDatabase = 98,
  eNotOpenForWrite = 102,
  eCannotBeErasedByCaller = 107,
  eLockViolation = 109,
  eSelfReference = 120,
  eFilerError = 3001,
  eInvalidContext = 3010,
};
}  // namespace Acad
