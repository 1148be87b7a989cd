// The QuickPic window: its picture, its size and place, and its closing on the next press.
#include "ui/QuickPic.h"

#include "dwgprobe/Thumbnails.h"
#include "fw/Static.h"
#include "fw/UiDriver.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "ui/BlockDlgIds.h"

namespace ui {
namespace {

fw::DialogTemplate QuickPicTemplate() {
  fw::DialogTemplate dialog;
  dialog.caption = L"QuickPic";
  dialog.style = fw::WS_POPUP | fw::WS_CAPTION | fw::WS_SYSMENU;
  dialog.exStyle = fw::WS_EX_TOPMOST | fw::WS_EX_TOOLWINDOW;
  // The picture fills the client area; both are sized in pixels when the window is shown.
  dialog.controls = {
      fw::ControlTemplate::Label(L"", 0, 0, 0, 0, kIdQuickPicPicture).Style(fw::SS_BITMAP)};
  return dialog;
}

// Stretching with colours keeps white pixels on a dark drawing area and black ones on a light
// one, as the preview drawing does.
int StretchMode() {
  return dwgprobe::GetPreviewColours().contrast != 0 ? fw::WHITEONBLACK : fw::BLACKONWHITE;
}

// The thumbnail drawn one pixel in from the corner of a canvas two pixels larger, then the
// canvas from (1, 1), one pixel larger than the thumbnail, stretched over the whole picture.
void DrawThumbnail(fw::Bitmap& picture, const fw::CImageList& images, int index) {
  const int width = images.ImageWidth();
  const int height = images.ImageHeight();
  fw::Bitmap canvas(width + 2, height + 2);
  if (canvas.IsEmpty() || !images.Draw(canvas, index, 1, 1)) return;
  fw::CDC dc(picture);
  dc.SetStretchBltMode(StretchMode());
  (void)dc.StretchDIBits(0, 0, QuickPic::kWidth, QuickPic::kHeight, 1, 1, width + 1, height + 1,
                         fw::PackedDibOf(canvas));
}

}  // namespace

fw::Bitmap DrawQuickPicture(const library::Directory& d, const library::Block& b,
                            const fw::CImageList& normalImages,
                            const fw::CImageList& smallImages) {
  fw::Bitmap picture(QuickPic::kWidth, QuickPic::kHeight);
  if (b.imageIndex != 0) {
    fw::CDC dc(picture);
    if (library::DrawPreview(d, b, dc, 0, 0, 1, true)) return picture;
  }
  // A directory without large images has no normal list to take the thumbnail from: its small
  // thumbnail is the best picture there is.
  bool normal = normalImages.IsCreated() && b.imageIndex < normalImages.GetImageCount();
  DrawThumbnail(picture, normal ? normalImages : smallImages, b.imageIndex);
  return picture;
}

QuickPic::QuickPic(std::function<void()> closed)
    : Dialog(QuickPicTemplate()), closed_(std::move(closed)) {
  auto close = [this] { Close(); };
  On(fw::kDialogId, fw::Event::kMouseDown, close);
  On(fw::kDialogId, fw::Event::kKey, [this](fw::Notify& notify) {
    notify.handled = true;
    Close();
  });
}

QuickPic::~QuickPic() {
  ReleaseCapture();
  if (IsShown()) DestroyWindow();
}

void QuickPic::Show(const fw::Dialog& owner, const library::Directory& d, const library::Block& b,
                    const fw::CImageList& normalImages, const fw::CImageList& smallImages) {
  Item<fw::Static>(kIdQuickPicPicture).SetBitmap(DrawQuickPicture(d, b, normalImages, smallImages));
  Item<fw::Static>(kIdQuickPicPicture).MoveWindow(fw::CRect{0, 0, kWidth, kHeight});
  SetClientSize(fw::CSize{kWidth, kHeight});
  const int width = kWidth + 2 * fw::GetSystemMetrics(fw::SM_CXDLGFRAME);
  const int height = kHeight + fw::GetSystemMetrics(fw::SM_CYSMCAPTION) +
                     2 * fw::GetSystemMetrics(fw::SM_CYDLGFRAME);
  fw::CRect area = owner.GetClientRect();
  const int left = area.left + (area.Width() - width) / 2;
  const int top = area.top + (area.Height() - height) / 2;
  windowRect_ = fw::CRect{left, top, left + width, top + height};
  Create();
  SetCapture();
}

void QuickPic::Close() {
  if (closing_) return;
  closing_ = true;
  ReleaseCapture();
  DestroyWindow();
  if (closed_) closed_();
}

fw::Bitmap QuickPic::Picture() const { return Item<fw::Static>(kIdQuickPicPicture).GetBitmap(); }

}  // namespace ui
