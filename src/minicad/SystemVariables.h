// The host's system variables: a fixed table of names with a type, a default, a range, and
// whether each is read-only and whether it belongs to the session or is saved in each drawing.
// Behind acedGetVar and acedSetVar. Host main thread.
#pragma once

#include <optional>
#include <string_view>

#include "arx/adsdef.h"
#include "minicad/VariableValue.h"

namespace minicad {

class DocManager;

class SystemVariables {
 public:
  // The result type a variable reads as, in the order of VariableValue's alternatives.
  enum class Type { kReal, kInt16, kText, kPoint };
  enum class Scope {
    kSession,   // one value for the whole session
    kDrawing,   // each drawing keeps its own value; the current drawing's is the one read
    kDatabase,  // the current drawing's database holds it (CLAYER: its current layer's name)
  };
  struct Definition {
    const wchar_t* name;
    Type type;
    Scope scope;
    bool readOnly;
    VariableValue initial;
    // The inclusive range of a number's value; for text, of its length. Points take any value.
    double minimum;
    double maximum;
  };

  // Drawing values live in the documents of `documents`. A `productVersion` not empty is the
  // session's ACADVER instead of the host's own.
  explicit SystemVariables(DocManager& documents, std::wstring_view productVersion = {});

  // acedGetVar: fills restype and resval of `result` (a text value allocated with
  // acutNewString, then the caller's). RTERROR for an unknown name.
  int Get(std::wstring_view name, resbuf& result) const;
  // acedSetVar: RTERROR, changing nothing, for an unknown or read-only name, a type that does
  // not fit (a real takes RTREAL, a 16-bit integer RTSHORT, text RTSTR (not null), a point
  // RT3DPOINT or RTPOINT) or a value out of range.
  int Set(std::wstring_view name, const resbuf& value);

  // The current value, for the host's own parts and tests; nothing for an unknown name.
  std::optional<VariableValue> Value(std::wstring_view name) const;

 private:
  const VariableValues& ValuesFor(Scope scope) const;
  // CLAYER: the current drawing's current layer; set only to a layer it has, while the rules of
  // the database allow (a locked document).
  std::optional<VariableValue> DatabaseValue(const Definition& definition) const;
  bool SetDatabaseValue(const Definition& definition, const VariableValue& value);
  const VariableValue& Current(const Definition& definition) const;
  VariableValue& Stored(const Definition& definition);

  DocManager& documents_;
  VariableValues sessionValues_;
};

}  // namespace minicad
