// A library block whose name the current drawing already defines: whether the definition is
// there, and whether to update it from the drawing file, by the user's BlockInsert option.
// Host main thread.
#pragma once

#include <string>
#include <vector>

namespace insert {

// The option BlockInsert: 0, 1 and 2 as the settings keep them.
enum class ExistingBlockMode { kAsk = 0, kAskOncePerDrawing = 1, kAlwaysUpdate = 2 };

// A stored value outside the three asks every time.
ExistingBlockMode ExistingBlockModeOf(int blockInsert);

// Whether the current drawing's block table holds a definition of `name` (without regard to
// case). False without a current drawing.
bool IsBlockDefined(const std::wstring& name);

// Always update: true without a question. Ask once per block per drawing: true without a
// question when `name` is in `askedNames` (compared without regard to case); otherwise the name
// is added and the question put. Ask: the question every time. The question is the Yes/No box
// "<name> already exists, do you wish to overwrite?"; Yes updates.
bool ShouldUpdateBlock(const std::wstring& name, ExistingBlockMode mode,
                       std::vector<std::wstring>& askedNames);

}  // namespace insert
