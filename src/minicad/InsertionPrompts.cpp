// Asking where and how a reference is placed.
#include "minicad/InsertionPrompts.h"

#include "minicad/CommandContext.h"

namespace minicad {

std::optional<InsertPlacement> AskInsertPlacement(CommandContext& context) {
  using Rule = CommandInput::Rule;
  CommandInput& input = context.Input();
  static constexpr const wchar_t* kOptions[] = {L"Scale", L"Rotate"};
  std::optional<double> scale;
  std::optional<double> rotation;
  std::optional<AcGePoint3d> position;
  while (!position) {
    std::optional<std::wstring> answer = input.Word(L"Specify insertion point or [Scale/Rotate]: ");
    if (!answer) return std::nullopt;
    // A point has no default: Enter (or a blank) asks again.
    if (answer->empty()) continue;
    switch (CommandInput::MatchKeyword(*answer, kOptions)) {
      case 0:
        scale = input.Real(L"Specify scale factor for XYZ axes <1>: ", 1.0, Rule::kNonZero);
        if (!scale) return std::nullopt;
        continue;
      case 1:
        rotation = input.Angle(L"Specify rotation angle <0>: ", 0);
        if (!rotation) return std::nullopt;
        continue;
      default:
        position = input.ParsePoint(*answer);
        if (!position) {
          input.Fail(L"Point or option keyword required.");
          return std::nullopt;
        }
        input.SetLastPoint(*position);
    }
  }
  InsertPlacement placement;
  placement.position = *position;
  if (scale) {
    placement.scale = AcGeScale3d(*scale);
  } else {
    std::optional<double> x = input.Real(L"Enter X scale factor <1>: ", 1.0, Rule::kNonZero);
    if (!x) return std::nullopt;
    std::optional<double> y =
        input.Real(L"Enter Y scale factor <use X scale factor>: ", *x, Rule::kNonZero);
    if (!y) return std::nullopt;
    placement.scale = AcGeScale3d(*x, *y, *x);
  }
  if (!rotation) rotation = input.Angle(L"Specify rotation angle <0>: ", 0);
  if (!rotation) return std::nullopt;
  placement.rotation = *rotation;
  return placement;
}

}  // namespace minicad
