// The AutoLISP expressions the host's prompts take in place of an answer: "(entlast)", the last
// object drawn.
#pragma once

#include <string>
#include <string_view>

#include "arx/dbid.h"
#include "fw/Result.h"

class AcDbImpDatabase;

namespace minicad {

struct LispValue {
  bool nil = true;
  AcDbObjectId entity;  // the value when it is an entity name
};

// Evaluates `expression` against `database`. The failure text is AutoLISP's error line
// ("; error: no function definition: FOO").
fw::Result<LispValue> EvaluateLisp(std::wstring_view expression, const AcDbImpDatabase& database);

// The last object of model space that is not erased; null when there is none.
AcDbObjectId LastEntity(const AcDbImpDatabase& database);

}  // namespace minicad
