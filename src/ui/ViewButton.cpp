// The view button's pictures, its click cycle, its menu and its face.
#include "ui/ViewButton.h"

#include "fw/Dialog.h"
#include "fw/Menu.h"
#include "fw/OwnerDrawButton.h"
#include "fw/Resources.h"
#include "fw/UiDriver.h"
#include "ui/BlockDlgIds.h"
#include "ui/MyList.h"
#include "ui/ViewPictures.h"

namespace ui {
namespace {

// The drop-down part is the scroll-bar width and this much more.
constexpr int kDropDownExtra = 4;
constexpr fw::CPoint kPictureOffset{2, 2};

// The classic push button's colours.
constexpr fw::COLORREF kFace = fw::RGB(192, 192, 192);
constexpr fw::COLORREF kHighlight = fw::RGB(255, 255, 255);
constexpr fw::COLORREF kShadow = fw::RGB(128, 128, 128);
constexpr fw::COLORREF kDarkShadow = fw::RGB(0, 0, 0);

constexpr const wchar_t* kViewTexts[kViewCount] = {L"Large Icons", L"Small Icons", L"List",
                                                   L"Report"};

// One edge of the frame: the top and left sides in one colour, the bottom and right in another,
// `inset` pixels in from the face's border.
void Edge(fw::CDC& dc, int width, int height, int inset, fw::COLORREF topLeft,
          fw::COLORREF bottomRight) {
  const int left = inset;
  const int top = inset;
  const int right = width - 1 - inset;
  const int bottom = height - 1 - inset;
  if (right <= left || bottom <= top) return;
  dc.SetPenColour(topLeft);
  dc.MoveTo(left, bottom - 1);
  dc.LineTo(left, top);
  dc.LineTo(right, top);
  dc.SetPenColour(bottomRight);
  dc.MoveTo(left, bottom);
  dc.LineTo(right, bottom);
  dc.LineTo(right, top - 1);
}

// A black triangle pointing down, centred in the part at the right edge.
void DropDownArrow(fw::CDC& dc, const fw::CRect& part) {
  constexpr int kArrowWidth = 7;
  const int left = part.left + (part.Width() - kArrowWidth) / 2;
  const int top = part.top + (part.Height() - (kArrowWidth + 1) / 2) / 2;
  dc.SetPenColour(kDarkShadow);
  for (int row = 0; row < (kArrowWidth + 1) / 2; ++row) {
    dc.MoveTo(left + row, top + row);
    dc.LineTo(left + kArrowWidth - row, top + row);
  }
}

}  // namespace

bool ViewButton::SetUp() {
  button_.SetDropDownWidth(fw::GetSystemMetrics(fw::SM_CXVSCROLL) + kDropDownExtra);
  button_.SetDrawFunction([this](fw::Bitmap& face, bool pressed) { Draw(face, pressed); });
  fw::Result<fw::Bitmap> strip = fw::LoadBitmapResource(kViewPicturesBitmapId);
  if (!strip || !pictures_.Create(kViewPictureWidth, kViewPictureHeight,
                                  fw::ILC_COLOR4 | fw::ILC_MASK, kViewCount, 0)) {
    return false;
  }
  for (int view = 0; view < kViewCount; ++view) {
    // The list takes a picture from the left edge of what it is given.
    fw::Bitmap picture(kViewPictureWidth, kViewPictureHeight);
    for (int y = 0; y < kViewPictureHeight; ++y) {
      for (int x = 0; x < kViewPictureWidth; ++x) {
        picture.SetPixel(x, y, strip.Value().GetPixel(view * kViewPictureWidth + x, y));
      }
    }
    pictures_.Add(picture, kViewPictureTransparent);
  }
  button_.SetImageList(pictures_);
  button_.SetImage(View());
  return true;
}

void ViewButton::SetView(int view) {
  view_.store(view);
  button_.SetImage(view);
}

int ViewButton::NextView(int view, bool largeImages) {
  int next = (view + 1) % kViewCount;
  if (!largeImages && next == kViewLargeIcons) next = kViewSmallIcons;
  return next;
}

std::optional<int> ViewButton::ChooseFromMenu(fw::Dialog& owner, bool rightButton,
                                              bool largeImages) const {
  fw::Menu menu;
  for (int view = largeImages ? kViewLargeIcons : kViewSmallIcons; view < kViewCount; ++view) {
    menu.AppendMenu(fw::MF_STRING | (view == View() ? fw::MF_CHECKED : 0u), kMenuViewFirst + view,
                    kViewTexts[view]);
  }
  fw::CRect rect = button_.GetWindowRect();
  unsigned flags = fw::TPM_RETURNCMD |
                   (rightButton ? fw::TPM_RIGHTALIGN | fw::TPM_RIGHTBUTTON
                                : fw::TPM_LEFTALIGN | fw::TPM_LEFTBUTTON);
  int chosen = menu.TrackPopupMenu(flags, rightButton ? rect.right : rect.left, rect.bottom, owner);
  if (chosen < kMenuViewFirst || chosen >= kMenuViewFirst + kViewCount) return std::nullopt;
  return chosen - kMenuViewFirst;
}

void ViewButton::Draw(fw::Bitmap& face, bool pressed) const {
  fw::CDC dc(face);
  const int width = face.Width();
  const int height = face.Height();
  dc.FillRect(0, 0, width, height, kFace);
  if (pressed) {
    Edge(dc, width, height, 0, kDarkShadow, kHighlight);
    Edge(dc, width, height, 1, kShadow, kFace);
  } else {
    Edge(dc, width, height, 0, kHighlight, kDarkShadow);
    Edge(dc, width, height, 1, kFace, kShadow);
  }
  const int arrowWidth = fw::GetSystemMetrics(fw::SM_CXVSCROLL);
  DropDownArrow(dc, fw::CRect{width - arrowWidth, 0, width, height});
  pictures_.Draw(face, View(), kPictureOffset.x, kPictureOffset.y);
}

}  // namespace ui
