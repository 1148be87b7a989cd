// What a library directory's insertion options put into the host's commands: the scale and
// rotation parts of the insert text, of the xref token list and of the repeat text, and the
// flags handed to the command reactor. DIMSCALE and USERR4 are read from the current drawing
// when a command is composed. Host main thread.
#pragma once

#include <string>

namespace layermap {
class ResBuf;
}
namespace library {
class Directory;
}

namespace insert {

struct InsertionState;

// The directory's `scaleMode` and `rotationMode` values.
enum class ScaleMode { kOneToOne = 0, kDrawing = 1, kPrompt = 2, kUser = 3 };
enum class RotationMode { kFixed = 0, kPrompt = 1 };

// A stored value outside the known ones (a damaged cache) reads as prompt: the host asks.
ScaleMode ScaleModeOf(const library::Directory& directory);
RotationMode RotationModeOf(const library::Directory& directory);

// "_scale 1", " _scale %f" (DIMSCALE or USERR4) or nothing; then " _rotate %f" or nothing.
std::wstring InsertScaleAndRotation(const library::Directory& directory);
// As the insert text, but " _scale 1" for one-to-one.
std::wstring RepeatScaleAndRotation(const library::Directory& directory);
// "_scale" with "1" or the value as a real, then "_rotate" with the angle as a real, each
// only when the mode fixes it. False when the host could not make an element.
bool AppendXrefScaleAndRotation(const library::Directory& directory, layermap::ResBuf& tokens);

// The reactor's flags for an insertion: explode and multiple insert from the directory, reopen
// when `repeat` is on and the insertion came from the dialog, and armed. Only ever sets them.
void ArmForInsert(const library::Directory& directory, bool fromDialog, InsertionState& state);
// For an external reference: reopen when `repeat` is on, and armed.
void ArmForXref(const library::Directory& directory, InsertionState& state);

}  // namespace insert
