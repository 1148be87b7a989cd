// What the outside components that show buttons for modules (the ribbon assembly and the toolbar
// module, both built beside the module) share: checking the button's picture, recording each call
// in the run log and putting the button on the host's bars.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "fw/Result.h"
#include "minicad/CommandButtons.h"

namespace minicad {

// The largest button picture a bar takes, in pixels a side.
inline constexpr int kMaxButtonSide = 256;

// Whether `png` is a picture a bar can show: a PNG stream the codec decodes, at most kMaxButtonSide
// a side. Empty bytes are no picture and fail too.
fw::Status CheckButtonImage(std::span<const std::uint8_t> png);

// The text as the run log shows it: line ends and other control characters written visibly ("\n",
// "\x1b"), so each call stays one line.
std::wstring VisibleText(std::wstring_view text);

// Records the call ("<caller> \"<command>\" \"<title>\" <n> bytes") in the run log, then adds the
// button to the current host's bars. Fails when no host runs.
fw::Status AddComponentButton(std::wstring_view caller, CommandButton button);
// Records the call and removes the buttons of `bar` with this command text; false when the host had
// none (or no host runs).
bool RemoveComponentButton(std::wstring_view caller, ButtonBar bar, std::wstring_view commandText);

}  // namespace minicad
