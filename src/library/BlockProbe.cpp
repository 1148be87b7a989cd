// Applying a drawing probe to a block and its directory.
#include "library/BlockProbe.h"

#include <atomic>
#include <mutex>
#include <shared_mutex>

#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/Bitmap.h"
#include "library/BlockLock.h"

namespace library {

namespace {

// Draw preview asks the drawing reader for points of drawings up to this version index ("2013").
constexpr int kLastVersionAskedForPoints = 20;

std::atomic<bool> dialogShown{false};
std::mutex itemUpdateMutex;
BlockItemUpdate& ItemUpdate() {
  static BlockItemUpdate update;
  return update;
}

void ApplyText(const dwgprobe::ProbeOutcome& outcome, Directory& d, Block& b) {
  if (outcome.opened) b.version = outcome.version;
  b.description = outcome.description;
  if (outcome.lsaPending) {
    b.lsaPending = true;
    d.lsaPending = true;
  }
  if (outcome.created) b.created = *outcome.created;
  if (outcome.modified) b.modified = *outcome.modified;
}

// Renders both thumbnails into d's lists (the large one only when d uses large images). A
// bitmap the renderer refuses leaves the block's image as it was.
void ApplyPreview(const dwgprobe::ProbeOutcome& outcome, Directory& d, Block& b) {
  if (!outcome.preview) return;
  auto index = dwgprobe::RenderThumbnails(d.useLargeImages ? &d.LargeImages() : nullptr,
                                          d.SmallImages(), b.imageIndex, *outcome.preview,
                                          b.version, outcome.points);
  if (!index) return;
  b.imageIndex = index.Value();
  d.imagesDirty = true;
}

void UpdateItem(Directory& d, Block& b) {
  if (!IsBlockDialogShown()) return;
  std::lock_guard lock(itemUpdateMutex);
  if (ItemUpdate()) ItemUpdate()(d, b);
}

}  // namespace

bool Probe(Directory& d, Block& b, dwgprobe::DrawingReader* reader) {
  dwgprobe::ProbeRequest request;
  request.currentDescription = b.description;
  request.showInsertionPoints = d.showInsertionPoints;
  request.reader = reader;
  const dwgprobe::ProbeOutcome outcome = dwgprobe::ProbeDrawing(d.DrawingPath(b), request);
  if (outcome.locked) return false;
  {
    // The dialog may be reading this block's facts for its properties box or a sort.
    std::unique_lock hold(BlockFieldsLock());
    ApplyText(outcome, d, b);
    ApplyPreview(outcome, d, b);
  }
  UpdateItem(d, b);
  return outcome.ok && outcome.readerOk;
}

bool DrawPreview(const Directory& d, const Block& b, fw::DeviceContext& dc, int x, int y, int k,
                 bool colours, dwgprobe::DrawingReader* reader, dwgprobe::PreviewFit fit) {
  const dwgprobe::StoredPreview stored = dwgprobe::ReadStoredPreview(d.DrawingPath(b));
  if (!stored.preview) return false;
  std::vector<double> points;
  if (stored.version <= kLastVersionAskedForPoints) {
    points = dwgprobe::ReadInsertionPoints(stored.path, d.showInsertionPoints, *stored.preview,
                                           reader);
  }
  return dwgprobe::DrawPreview(dc, x, y, k, colours, *stored.preview, stored.version, points, fit)
      .Ok();
}

void SetBlockDialogShown(bool shown) { dialogShown.store(shown); }
bool IsBlockDialogShown() { return dialogShown.load(); }

void SetBlockItemUpdate(BlockItemUpdate update) {
  std::lock_guard lock(itemUpdateMutex);
  ItemUpdate() = std::move(update);
}

}  // namespace library
