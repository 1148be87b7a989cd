// The pictures of the block list's four views that the view button shows: one bitmap resource
// of the module holding them side by side (large icons, small icons, list, report), each
// kViewPictureWidth pixels wide, on magenta, which the button leaves transparent.
#pragma once

#include <cstdint>
#include <span>

#include "fw/Bitmap.h"

namespace ui {

inline constexpr int kViewPicturesBitmapId = 131;
inline constexpr int kViewPictureWidth = 22;
inline constexpr int kViewPictureHeight = 16;
inline constexpr fw::COLORREF kViewPictureTransparent = fw::RGB(255, 0, 255);

// The resource's bytes: a packed 4-bit bitmap in the module's constant data.
std::span<const std::uint8_t> ViewPicturesDib();

}  // namespace ui
