// The installable New Map question.
#include "layermap/AskNewMap.h"

#include <utility>

namespace layermap {
namespace {

AskNewMapFunction& InstalledQuestion() {
  static AskNewMapFunction question;
  return question;
}

}  // namespace

void SetAskNewMapFunction(AskNewMapFunction function) { InstalledQuestion() = std::move(function); }

std::optional<NewMapAnswer> AskNewMap(SchemeKind kind, const std::wstring& upperName) {
  // A copy, so a question that installs another one while it runs keeps running itself.
  AskNewMapFunction question = InstalledQuestion();
  if (!question) return std::nullopt;
  std::optional<NewMapAnswer> answer = question(kind, upperName);
  if (answer && answer->to.empty()) return std::nullopt;
  return answer;
}

}  // namespace layermap
