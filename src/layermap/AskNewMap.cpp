// The installable New Map question.
#include "layermap/AskNewMap.h"

#include <utility>

#include "layermap/NewMap.h"

namespace layermap {
namespace {

AskNewMapFunction& InstalledQuestion() {
  static AskNewMapFunction question;
  return question;
}

// The New Map dialog in its asked form: the scheme's kind, the From locked to the name, no
// duplicate test (no map matched the name).
std::optional<NewMapAnswer> AskWithDialog(SchemeKind kind, const std::wstring& upperName) {
  NewMap dialog;
  dialog.kind = kind;
  dialog.asked = true;
  dialog.from = upperName;
  if (dialog.DoModal() != fw::IDOK) return std::nullopt;
  return NewMapAnswer{dialog.to, dialog.isVariable};
}

}  // namespace

void SetAskNewMapFunction(AskNewMapFunction function) { InstalledQuestion() = std::move(function); }

std::optional<NewMapAnswer> AskNewMap(SchemeKind kind, const std::wstring& upperName) {
  // A copy, so a question that installs another one while it runs keeps running itself.
  AskNewMapFunction question = InstalledQuestion();
  if (!question) question = AskWithDialog;
  std::optional<NewMapAnswer> answer = question(kind, upperName);
  if (answer && answer->to.empty()) return std::nullopt;
  return answer;
}

}  // namespace layermap
