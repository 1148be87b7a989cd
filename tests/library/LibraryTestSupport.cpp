#include "LibraryTestSupport.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "fw/Archive.h"
#include "fw/File.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "library/CacheFiles.h"

namespace librarytest {

namespace {

minicad::HostOptions WithoutDrawing() {
  minicad::HostOptions options;
  options.startWithNewDrawing = false;
  return options;
}

}  // namespace

LibraryTest::LibraryTest() : host_(WithoutDrawing()) {
  fw::SetUiDriver(&ui_);
  library::SetUseCompression(true);
  fw::SetTraceSink([this](std::wstring_view line) {
    std::lock_guard<std::mutex> guard(logLock_);
    log_.emplace_back(line);
  });
}

LibraryTest::~LibraryTest() {
  fw::SetTraceSink(nullptr);
  fw::SetUiDriver(nullptr);
  library::SetUseCompression(true);
}

Lines LibraryTest::TakeLog() {
  std::lock_guard<std::mutex> guard(logLock_);
  return std::exchange(log_, {});
}

std::unique_ptr<library::Directory> MakeFullDirectory(const std::wstring& path,
                                                      const std::wstring& cacheFile,
                                                      int blockCount) {
  auto d = std::make_unique<library::Directory>();
  d->scaleMode = 3;
  d->rotationMode = 1;
  d->sortStyle = 12;
  d->rotationAngle = 42.25;
  d->explode = d->multipleInsert = d->repeat = true;
  d->cacheOption = d->showInsertionPoints = false;
  d->path = path;
  d->description = L"Doors \u00e9\u4e2d " + path;
  d->topIndex = 17;
  d->selectedIndex = 23;
  d->view = 1;
  d->currentScheme = L"Electrical";
  d->cacheFile = cacheFile;
  for (int i = 0; i < blockCount; ++i) {
    library::Block& block = d->AppendBlock();
    block.name = L"Block " + std::to_wstring(i);
    if (i % 2 == 1) block.description = L"Description " + std::to_wstring(i);
    block.valid = i % 5 != 0;
    block.checked = i % 3 == 0;
    block.currentStatus = {1600000000 + i, 1600000100 + i, 50000u + i, 0x20};
    block.cachedStatus = {1500000000 + i, 1500000100 + i, 40000u + i, 0x20};
    block.created = 1400000000 + i;
    block.modified = 1400000100 + i;
    block.imageIndex = i + 1;
    block.version = i % library::Block::kVersionCount;
  }
  return d;
}

Bytes RecordBytes(const library::Directory& directory) {
  fw::CMemFile file;
  fw::CArchive archive(&file, fw::CArchive::store);
  directory.Store(archive);
  archive.Close();
  return file.Bytes();
}

void AddPreview(library::Directory& directory, fw::COLORREF colour) {
  for (fw::CImageList* list : {&directory.LargeImages(), &directory.SmallImages()}) {
    if (!list->IsCreated()) continue;
    fw::Bitmap bitmap(list->ImageWidth(), list->ImageHeight());
    fw::CDC(bitmap).FillRect(0, 0, bitmap.Width(), bitmap.Height(), colour);
    list->Add(bitmap);
  }
}

void ExpectSameImages(const fw::CImageList& expected, const fw::CImageList& actual) {
  ASSERT_EQ(actual.GetImageCount(), expected.GetImageCount());
  for (int i = 0; i < expected.GetImageCount(); ++i) {
    EXPECT_EQ(actual.GetImage(i).Bits(), expected.GetImage(i).Bits()) << "image " << i;
  }
}

namespace {

// The placeholder's shape without the reference files: only black and white, a black border,
// white quarters between the diagonals, and a diagonal pixel near each quarter of the top half.
bool HasPlaceholderShape(const fw::Bitmap& image) {
  const int w = image.Width();
  const int h = image.Height();
  const fw::COLORREF black = fw::RGB(0, 0, 0);
  const fw::COLORREF white = fw::RGB(255, 255, 255);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const fw::COLORREF pixel = image.GetPixel(x, y);
      const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      if (pixel != black && (border || pixel != white)) return false;
    }
  }
  auto blackNear = [&](int cx, int cy) {
    for (int x = cx - 2; x <= cx + 2; ++x) {
      if (image.GetPixel(x, cy) == black) return true;
    }
    return false;
  };
  return image.GetPixel(w / 2, h / 4) == white && image.GetPixel(w / 4, h / 2) == white &&
         blackNear(w / 4, h / 4) && blackNear(3 * w / 4, h / 4);
}

}  // namespace

bool IsPlaceholder(const fw::Bitmap& image) {
  std::string name = "placeholder-" + std::to_string(image.Width()) + "x" +
                     std::to_string(image.Height()) + ".bin";
  Bytes golden = ReadBytes(fw::FromNativePath(QRVA_SHARED_DIR "/golden/" + name));
  if (!HasPlaceholderShape(image)) return false;
  // With the reference pixels at hand, byte for byte.
  return golden.empty() || image.Bits() == golden;
}

Bytes ReadBytes(const std::wstring& path) {
  std::ifstream in(fw::NativePath(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
  std::ofstream out(fw::NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << fw::NativePath(path);
}

Bytes Prefix(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

}  // namespace librarytest
