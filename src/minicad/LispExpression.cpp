// Evaluating the few AutoLISP expressions the host's prompts take.
#include "minicad/LispExpression.h"

#include <vector>

#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// The words of a flat list "(f a b)", or nothing when it is not one.
std::optional<std::vector<std::wstring>> Words(std::wstring_view expression) {
  while (!expression.empty() && IsBlank(expression.front())) expression.remove_prefix(1);
  while (!expression.empty() && IsBlank(expression.back())) expression.remove_suffix(1);
  if (expression.size() < 2 || expression.front() != L'(' || expression.back() != L')') {
    return std::nullopt;
  }
  expression = expression.substr(1, expression.size() - 2);
  std::vector<std::wstring> words;
  std::wstring word;
  for (wchar_t c : expression) {
    if (c == L'(' || c == L')' || c == L'"') return std::nullopt;
    if (IsBlank(c)) {
      if (!word.empty()) words.push_back(std::exchange(word, {}));
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace

AcDbObjectId LastEntity(const AcDbImpDatabase& database) {
  const auto* space = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(database.Standard().modelSpace);
  if (space == nullptr) return AcDbObjectId::kNull;
  const auto& entities = AcDbImpDatabase::Entities(*space);
  for (auto it = entities.rbegin(); it != entities.rend(); ++it) {
    if (!AcDbImpDatabase::IsErased(*it)) return *it;
  }
  return AcDbObjectId::kNull;
}

fw::Result<LispValue> EvaluateLisp(std::wstring_view expression, const AcDbImpDatabase& database) {
  using Outcome = fw::Result<LispValue>;
  std::optional<std::vector<std::wstring>> words = Words(expression);
  if (!words) return Outcome::Failure(L"; error: malformed list on input");
  if (words->empty()) return Outcome::Success(LispValue{});
  const std::wstring function = fw::ToLower(words->front());
  if (function != L"entlast") {
    return Outcome::Failure(L"; error: no function definition: " + fw::ToUpper(function));
  }
  if (words->size() > 1) return Outcome::Failure(L"; error: too many arguments");
  LispValue value;
  value.entity = LastEntity(database);
  value.nil = value.entity.isNull();
  return Outcome::Success(value);
}

}  // namespace minicad
