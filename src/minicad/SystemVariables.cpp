// The system-variable table and the reading and writing of values through result buffers.
#include "minicad/SystemVariables.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "arx/acutads.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"

namespace minicad {
namespace {

using Type = SystemVariables::Type;
using Scope = SystemVariables::Scope;
using Definition = SystemVariables::Definition;

// Longest text a variable takes: the host's limit for symbol names.
constexpr double kMaxTextLength = 255;

Definition Real(const wchar_t* name, Scope scope, double initial, double minimum) {
  return Definition{name, Type::kReal, scope, false, initial, minimum, DBL_MAX};
}

Definition Short(const wchar_t* name, Scope scope, std::int16_t initial, double minimum,
                 double maximum) {
  return Definition{name, Type::kInt16, scope, false, initial, minimum, maximum};
}

Definition Text(const wchar_t* name, Scope scope, const wchar_t* initial, bool readOnly = false) {
  return Definition{name, Type::kText, scope, readOnly, std::wstring(initial), 1, kMaxTextLength};
}

Definition Point(const wchar_t* name, Scope scope) {
  return Definition{name, Type::kPoint, scope, false, VariablePoint{0, 0, 0}, 0, 0};
}

// The variables the host knows, by upper-case name.
const std::vector<Definition>& Table() {
  static const std::vector<Definition> table = {
      Text(L"ACADVER", Scope::kSession, L"23.1s", true),
      Short(L"ATTREQ", Scope::kSession, 1, 0, 1),
      Text(L"CECOLOR", Scope::kDrawing, L"BYLAYER"),
      Text(L"CELTYPE", Scope::kDrawing, L"BYLAYER"),
      Text(L"CLAYER", Scope::kDatabase, L"0"),
      Short(L"CMDECHO", Scope::kSession, 1, 0, 1),
      Real(L"DIMSCALE", Scope::kDrawing, 1.0, 0.0),
      Short(L"EXPERT", Scope::kSession, 0, 0, 5),
      Short(L"FILEDIA", Scope::kSession, 1, 0, 1),
      Point(L"LASTPOINT", Scope::kDrawing),
      Short(L"LUNITS", Scope::kDrawing, 2, 1, 5),
      Short(L"LUPREC", Scope::kDrawing, 4, 0, 8),
      Real(L"TEXTSIZE", Scope::kDrawing, 2.5, 0.0),
      Short(L"USERI1", Scope::kDrawing, 0, INT16_MIN, INT16_MAX),
      Short(L"USERI2", Scope::kDrawing, 0, INT16_MIN, INT16_MAX),
      Short(L"USERI3", Scope::kDrawing, 0, INT16_MIN, INT16_MAX),
      Short(L"USERI4", Scope::kDrawing, 0, INT16_MIN, INT16_MAX),
      Short(L"USERI5", Scope::kDrawing, 0, INT16_MIN, INT16_MAX),
      Real(L"USERR1", Scope::kDrawing, 0.0, -DBL_MAX),
      Real(L"USERR2", Scope::kDrawing, 0.0, -DBL_MAX),
      Real(L"USERR3", Scope::kDrawing, 0.0, -DBL_MAX),
      Real(L"USERR4", Scope::kDrawing, 0.0, -DBL_MAX),
      Real(L"USERR5", Scope::kDrawing, 0.0, -DBL_MAX),
  };
  return table;
}

const Definition* Find(std::wstring_view name) {
  std::wstring upper = fw::ToUpper(name);
  const std::vector<Definition>& table = Table();
  auto found = std::find_if(table.begin(), table.end(),
                            [&](const Definition& definition) { return upper == definition.name; });
  return found == table.end() ? nullptr : &*found;
}

bool InRange(const Definition& definition, double value) {
  return value >= definition.minimum && value <= definition.maximum;
}

// The value `value` gives a variable of this definition, or nothing when it does not fit.
std::optional<VariableValue> Convert(const Definition& definition, const resbuf& value) {
  switch (definition.type) {
    case Type::kReal:
      if (value.restype != RTREAL || !InRange(definition, value.resval.rreal)) break;
      return VariableValue(value.resval.rreal);
    case Type::kInt16:
      if (value.restype != RTSHORT || !InRange(definition, value.resval.rint)) break;
      return VariableValue(static_cast<std::int16_t>(value.resval.rint));
    case Type::kText: {
      if (value.restype != RTSTR || value.resval.rstring == nullptr) break;
      std::wstring text(value.resval.rstring);
      if (!InRange(definition, static_cast<double>(text.size()))) break;
      return VariableValue(std::move(text));
    }
    case Type::kPoint: {
      if (value.restype != RT3DPOINT && value.restype != RTPOINT) break;
      VariablePoint point{value.resval.rpoint[X], value.resval.rpoint[Y],
                          value.restype == RTPOINT ? 0.0 : value.resval.rpoint[Z]};
      auto finite = [](double coordinate) { return std::isfinite(coordinate); };
      if (!std::all_of(point.begin(), point.end(), finite)) break;
      return VariableValue(point);
    }
  }
  return std::nullopt;
}

// Writes `value` into the result buffer's type and value; false when memory runs out.
bool Fill(const VariableValue& value, resbuf& result) {
  if (const auto* real = std::get_if<double>(&value)) {
    result.restype = RTREAL;
    result.resval.rreal = *real;
  } else if (const auto* integer = std::get_if<std::int16_t>(&value)) {
    result.restype = RTSHORT;
    result.resval.rint = *integer;
  } else if (const auto* text = std::get_if<std::wstring>(&value)) {
    ACHAR* copy = nullptr;
    if (acutNewString(text->c_str(), copy) != Acad::eOk) return false;
    result.restype = RTSTR;
    result.resval.rstring = copy;
  } else if (const auto* point = std::get_if<VariablePoint>(&value)) {
    result.restype = RT3DPOINT;
    std::copy(point->begin(), point->end(), result.resval.rpoint);
  }
  return true;
}

}  // namespace

SystemVariables::SystemVariables(DocManager& documents, std::wstring_view productVersion)
    : documents_(documents) {
  if (!productVersion.empty()) sessionValues_.emplace(L"ACADVER", std::wstring(productVersion));
}

int SystemVariables::Get(std::wstring_view name, resbuf& result) const {
  const Definition* definition = Find(name);
  if (definition == nullptr) return RTERROR;
  if (definition->scope == Scope::kDatabase) {
    std::optional<VariableValue> value = DatabaseValue(*definition);
    return value && Fill(*value, result) ? RTNORM : RTERROR;
  }
  return Fill(Current(*definition), result) ? RTNORM : RTERROR;
}

int SystemVariables::Set(std::wstring_view name, const resbuf& value) {
  const Definition* definition = Find(name);
  if (definition == nullptr || definition->readOnly) return RTERROR;
  std::optional<VariableValue> converted = Convert(*definition, value);
  if (!converted) return RTERROR;
  if (definition->scope == Scope::kDatabase) {
    return SetDatabaseValue(*definition, *converted) ? RTNORM : RTERROR;
  }
  Stored(*definition) = std::move(*converted);
  return RTNORM;
}

std::optional<VariableValue> SystemVariables::Value(std::wstring_view name) const {
  const Definition* definition = Find(name);
  if (definition == nullptr) return std::nullopt;
  if (definition->scope == Scope::kDatabase) return DatabaseValue(*definition);
  return Current(*definition);
}

std::optional<VariableValue> SystemVariables::DatabaseValue(const Definition& definition) const {
  Document* document = documents_.Find(documents_.curDocument());
  if (document == nullptr) return definition.initial;
  const AcDbObjectId layer = document->Database().clayer();
  const auto* record = AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(layer);
  if (record == nullptr) return definition.initial;
  return VariableValue(AcDbImpDatabase::Name(*record));
}

bool SystemVariables::SetDatabaseValue(const Definition&, const VariableValue& value) {
  Document* document = documents_.Find(documents_.curDocument());
  const auto* name = std::get_if<std::wstring>(&value);
  if (document == nullptr || name == nullptr) return false;
  AcDbDatabase& database = document->Database();
  AcDbImpDatabase& inside = AcDbImpDatabase::Of(database);
  const AcDbObjectId layer = inside.FindRecord(inside.Standard().layerTable, *name);
  return !layer.isNull() && database.setClayer(layer) == Acad::eOk;
}

// A drawing variable read or set while no drawing is open is the session's.
const VariableValues& SystemVariables::ValuesFor(Scope scope) const {
  if (scope == Scope::kDrawing) {
    if (Document* document = documents_.Find(documents_.curDocument())) {
      return document->DrawingVariables();
    }
  }
  return sessionValues_;
}

// A variable never set reads its initial value.
const VariableValue& SystemVariables::Current(const Definition& definition) const {
  const VariableValues& values = ValuesFor(definition.scope);
  auto found = values.find(definition.name);
  return found == values.end() ? definition.initial : found->second;
}

VariableValue& SystemVariables::Stored(const Definition& definition) {
  auto& values = const_cast<VariableValues&>(ValuesFor(definition.scope));
  return values.try_emplace(definition.name, definition.initial).first->second;
}

}  // namespace minicad
