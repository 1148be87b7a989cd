// The command pieces and reactor flags of a directory's insertion options.
#include "insert/InsertionOptions.h"

#include "fw/Strings.h"
#include "insert/InsertionState.h"
#include "layermap/ResBuf.h"
#include "library/Directory.h"

namespace insert {
namespace {

// The scale a mode fixes, read from the current drawing now; nothing for one-to-one and prompt.
// A variable the host cannot read gives 1, the host's own default scale.
double FixedScale(ScaleMode mode) {
  layermap::ResBuf value;
  const wchar_t* variable = mode == ScaleMode::kDrawing ? L"DIMSCALE" : L"USERR4";
  double scale = value.GetVar(variable) ? value.RealAt(0) : layermap::ResBuf::kMissingReal;
  return scale == layermap::ResBuf::kMissingReal ? 1.0 : scale;
}

std::wstring ScalePart(ScaleMode mode, const wchar_t* oneToOne) {
  switch (mode) {
    case ScaleMode::kOneToOne:
      return oneToOne;
    case ScaleMode::kDrawing:
    case ScaleMode::kUser:
      return fw::Format(L" _scale %f", FixedScale(mode));
    case ScaleMode::kPrompt:
      return std::wstring();
  }
  return std::wstring();
}

std::wstring RotationPart(const library::Directory& directory) {
  switch (RotationModeOf(directory)) {
    case RotationMode::kFixed:
      return fw::Format(L" _rotate %f", directory.rotationAngle);
    case RotationMode::kPrompt:
      return std::wstring();
  }
  return std::wstring();
}

}  // namespace

ScaleMode ScaleModeOf(const library::Directory& directory) {
  switch (directory.scaleMode) {
    case 0:
      return ScaleMode::kOneToOne;
    case 1:
      return ScaleMode::kDrawing;
    case 3:
      return ScaleMode::kUser;
    default:
      return ScaleMode::kPrompt;
  }
}

RotationMode RotationModeOf(const library::Directory& directory) {
  return directory.rotationMode == 0 ? RotationMode::kFixed : RotationMode::kPrompt;
}

std::wstring InsertScaleAndRotation(const library::Directory& directory) {
  return ScalePart(ScaleModeOf(directory), L"_scale 1") + RotationPart(directory);
}

std::wstring RepeatScaleAndRotation(const library::Directory& directory) {
  return ScalePart(ScaleModeOf(directory), L" _scale 1") + RotationPart(directory);
}

bool AppendXrefScaleAndRotation(const library::Directory& directory, layermap::ResBuf& tokens) {
  bool made = true;
  switch (const ScaleMode mode = ScaleModeOf(directory)) {
    case ScaleMode::kOneToOne:
      made = tokens.AppendString(L"_scale") && tokens.AppendString(L"1");
      break;
    case ScaleMode::kDrawing:
    case ScaleMode::kUser:
      made = tokens.AppendString(L"_scale") && tokens.AppendReal(FixedScale(mode));
      break;
    case ScaleMode::kPrompt:
      break;
  }
  switch (RotationModeOf(directory)) {
    case RotationMode::kFixed:
      made = made && tokens.AppendString(L"_rotate") && tokens.AppendReal(directory.rotationAngle);
      break;
    case RotationMode::kPrompt:
      break;
  }
  return made;
}

void ArmForInsert(const library::Directory& directory, bool fromDialog, InsertionState& state) {
  if (directory.explode) state.explodePending = true;
  if (directory.multipleInsert) state.multipleInsertActive = true;
  if (directory.repeat && fromDialog) state.reopenDialogPending = true;
  state.reactorArmed = true;
}

void ArmForXref(const library::Directory& directory, InsertionState& state) {
  if (directory.repeat) state.reopenDialogPending = true;
  state.reactorArmed = true;
}

}  // namespace insert
