// The directory's construction, its placeholder images and its record in the main cache.
#include "library/Directory.h"

#include <climits>

#include "fw/Archive.h"
#include "fw/Bitmap.h"
#include "fw/File.h"
#include "fw/FileName.h"
#include "fw/Strings.h"

namespace library {
namespace {

constexpr int kImageListInitial = 1;
constexpr int kImageListGrow = 25;
// The image cache's file title starts with "path"; its number follows.
constexpr std::size_t kCacheTitlePrefixLength = 4;

// The fewest bytes a block record can take: two empty narrow strings (1 byte each), three
// int32 and five 8-byte values.
constexpr std::uint64_t kMinBlockRecordBytes = 2 * 1 + 3 * 4 + 5 * 8;

// The placeholder: a black bitmap of the list's size with a box drawn by a new device context's
// pen and brush (black outline, white inside) and both diagonals.
fw::Bitmap MakePlaceholder(int width, int height) {
  fw::Bitmap bitmap(width, height);
  fw::CDC dc(bitmap);
  dc.Rectangle(0, 0, width, height);
  dc.MoveTo(0, 0);
  dc.LineTo(width, height);
  dc.MoveTo(0, height);
  dc.LineTo(width, 0);
  return bitmap;
}

fw::CImageList BuildPlaceholderList(int width, int height) {
  fw::CImageList list = Directory::CreateImageList(width, height);
  list.Add(MakePlaceholder(width, height));
  return list;
}

// Drawing the placeholder costs far more than copying a list, and a library of 200 directories
// needs 400 of them; so each size is drawn once, and every directory's list is a copy that
// shares its pixels until a preview is added.
const fw::CImageList& LargePlaceholderList() {
  static const fw::CImageList prototype =
      BuildPlaceholderList(Directory::kLargeImageWidth, Directory::kLargeImageHeight);
  return prototype;
}

const fw::CImageList& SmallPlaceholderList() {
  static const fw::CImageList prototype =
      BuildPlaceholderList(Directory::kSmallImageWidth, Directory::kSmallImageHeight);
  return prototype;
}

}  // namespace

Directory::Directory() {
  largeImages_.SetImageLimit(kMaxImages);
  smallImages_.SetImageLimit(kMaxImages);
  ResetImages(false);
}

Directory::~Directory() {
  DeleteAllBlocks();
  largeImages_.DeleteImageList();
  smallImages_.DeleteImageList();
}

std::unique_ptr<Directory> Directory::CopySettings() const {
  auto copy = std::make_unique<Directory>();
  copy->scaleMode = scaleMode;
  copy->rotationMode = rotationMode;
  copy->sortStyle = sortStyle;
  copy->rotationAngle = rotationAngle;
  copy->explode = explode;
  copy->multipleInsert = multipleInsert;
  copy->repeat = repeat;
  copy->cacheOption = cacheOption;
  copy->showInsertionPoints = showInsertionPoints;
  copy->path = path;
  copy->description = description;
  copy->topIndex = topIndex;
  copy->selectedIndex = selectedIndex;
  copy->view = view;
  copy->listIndex = listIndex;
  copy->currentScheme = currentScheme;
  copy->cacheFile = cacheFile;
  if (copy->useLargeImages != useLargeImages) {
    copy->useLargeImages = useLargeImages;
    copy->ResetImages(true);
  }
  return copy;
}

bool Directory::IsInternal() const { return path == kInternalName && description == kInternalName; }

int Directory::CacheNumber() const {
  const std::wstring title = fw::CFileName(cacheFile).Title();
  int number = 0;
  for (std::size_t i = kCacheTitlePrefixLength; i < title.size(); ++i) {
    wchar_t c = title[i];
    if (c < L'0' || c > L'9') break;
    int digit = c - L'0';
    if (number > (INT_MAX - digit) / 10) return INT_MAX;
    number = number * 10 + digit;
  }
  return number;
}

std::wstring Directory::DrawingPath(const Block& block) const {
  return fw::PathJoin(path, std::wstring(block.name) + L".dwg");
}

fw::CImageList Directory::CreateImageList(int width, int height) {
  fw::CImageList list;
  list.SetImageLimit(kMaxImages);
  list.Create(width, height, fw::ILC_COLOR4, kImageListInitial, kImageListGrow);
  return list;
}

void Directory::ResetImages(bool /*destroyOld*/) {
  imagesLoaded = false;
  if (useLargeImages) {
    largeImages_.CopyFrom(LargePlaceholderList());
  } else {
    largeImages_.DeleteImageList();
  }
  smallImages_.CopyFrom(SmallPlaceholderList());
}

void Directory::ReplaceImages(fw::CImageList large, fw::CImageList small) {
  if (useLargeImages) {
    largeImages_.TakeFrom(large);
  } else {
    largeImages_.DeleteImageList();
  }
  smallImages_.TakeFrom(small);
}

Block& Directory::AppendBlock() {
  blocks_.push_back(std::make_unique<Block>());
  return *blocks_.back();
}

void Directory::DeleteAllBlocks() { blocks_.clear(); }

// Directory record: int32 scaleMode, int32 rotationMode, int32 sortStyle, double rotationAngle,
// bool explode, bool multipleInsert, bool repeat, bool cacheOption, bool showInsertionPoints,
// string path, string description, int32 topIndex, int32 selectedIndex, int32 view, string
// currentScheme, bool useLargeImages, string cacheFile, int32 block count B, B block records.
// Bools are int32 0 or 1.
void Directory::Store(fw::CArchive& archive) const {
  archive.WriteInt32(scaleMode);
  archive.WriteInt32(rotationMode);
  archive.WriteInt32(sortStyle);
  archive.WriteDouble(rotationAngle);
  archive.WriteBool(explode);
  archive.WriteBool(multipleInsert);
  archive.WriteBool(repeat);
  archive.WriteBool(cacheOption);
  archive.WriteBool(showInsertionPoints);
  archive.WriteString(path);
  archive.WriteString(description);
  archive.WriteInt32(topIndex);
  archive.WriteInt32(selectedIndex);
  archive.WriteInt32(view);
  archive.WriteString(currentScheme);
  archive.WriteBool(useLargeImages);
  archive.WriteString(cacheFile);
  archive.WriteInt32(static_cast<std::int32_t>(blocks_.size()));
  for (const auto& block : blocks_) block->Store(archive);
}

void Directory::Load(fw::CArchive& archive) {
  scaleMode = archive.ReadInt32();
  rotationMode = archive.ReadInt32();
  sortStyle = archive.ReadInt32();
  rotationAngle = archive.ReadDouble();
  explode = archive.ReadBool();
  multipleInsert = archive.ReadBool();
  repeat = archive.ReadBool();
  cacheOption = archive.ReadBool();
  showInsertionPoints = archive.ReadBool();
  path = archive.ReadString();
  description = archive.ReadString();
  topIndex = archive.ReadInt32();
  selectedIndex = archive.ReadInt32();
  view = archive.ReadInt32();
  currentScheme = archive.ReadString();
  bool largeImagesWanted = archive.ReadBool();
  cacheFile = archive.ReadString();
  std::int32_t blockCount = archive.ReadInt32();

  std::uint64_t bytesLeft = archive.BytesLeft();
  if (blockCount < 0 ||
      static_cast<std::uint64_t>(blockCount) * kMinBlockRecordBytes > bytesLeft) {
    throw fw::CArchiveException(
        fw::CArchiveException::badIndex,
        fw::Format(L"directory \"%s\": block count %d needs at least %llu bytes; %llu are left",
                   path.c_str(), blockCount,
                   static_cast<unsigned long long>(blockCount < 0 ? 0 : blockCount) *
                       kMinBlockRecordBytes,
                   static_cast<unsigned long long>(bytesLeft)));
  }
  if (largeImagesWanted != useLargeImages) {
    useLargeImages = largeImagesWanted;
    ResetImages(true);
  }
  blocks_.reserve(blocks_.size() + static_cast<std::size_t>(blockCount));
  for (std::int32_t i = 0; i < blockCount; ++i) AppendBlock().Load(archive);
}

}  // namespace library
