// The picture of the QUORVA button: a 32 x 32 RGBA PNG (QuorvaButton.png beside this file,
// drawn by scripts/draw-button-image.py), compiled into the module as its RCDATA resource 112.
#pragma once

#include <cstdint>
#include <span>

namespace module {

inline constexpr int kButtonImageId = 112;

// The PNG's bytes, in the module's constant data.
std::span<const std::uint8_t> ButtonImagePng();

}  // namespace module
