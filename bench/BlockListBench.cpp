// The block list at the sizes a large library gives it: a quick-find keystroke that matches
// nothing in 100,000 blocks of 50 loaded directories (goal: under 20 ms), sorting 5,000 items by
// each key (goal: under 10 ms), and switching the view of 5,000 thumbnails, which re-sorts
// (goal: under 50 ms).
//   build/release/bin/block_list_bench
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "BlockListPlace.h"
#include "fw/Bitmap.h"
#include "fw/Dialog.h"
#include "fw/ListCtrl.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "ui/BlockSort.h"
#include "ui/MyList.h"
#include "ui/QuickFind.h"

namespace {

using bench::BlockListTemplate;
using bench::kListId;

// A directory of `count` blocks with mixed-case names, descriptions, sizes, dates and versions.
std::unique_ptr<library::Directory> MakeDirectory(int count, unsigned seed) {
  std::mt19937 random(seed);
  const wchar_t* stems[] = {L"Bolt", L"nut", L"Washer", L"DOOR", L"window", L"Pipe", L"valve"};
  const wchar_t* words[] = {L"Hexagon bolt, M12 x 40, galvanised", L"Single door 900 left",
                            L"Gate valve DN50", L"", L"Window 1200 x 1500 (casement)"};
  auto d = std::make_unique<library::Directory>();
  d->path = L"/library/" + std::to_wstring(seed);
  d->loaded = true;
  d->ReserveBlocks(static_cast<std::size_t>(count));
  for (int at = 0; at < count; ++at) {
    library::Block& b = d->AppendBlock();
    b.name = std::wstring(stems[random() % 7]) + L"-" + std::to_wstring(random() % 100000) +
             (random() % 2 != 0 ? L"-Detail" : L"-plan");
    b.description = words[random() % 5];
    b.currentStatus.size = random() % 400000;
    b.created = 1500000000 + static_cast<std::int64_t>(random() % 100000000);
    b.modified = 1500000000 + static_cast<std::int64_t>(random() % 100000000);
    b.version = static_cast<std::int32_t>(random() % library::Block::kVersionCount);
    b.imageIndex = at % 40;
  }
  return d;
}

// A block list holding d's blocks as the loader leaves it.
void Fill(fw::ListCtrl& list, const library::Directory& d) {
  list.DeleteAllItems();
  int at = 0;
  for (const auto& b : d.Blocks()) {
    fw::ListItem item;
    item.texts = {b->name, L"2018", b->description};
    item.image = b->imageIndex;
    item.data = reinterpret_cast<fw::ItemData>(b.get());
    list.InsertItem(at++, std::move(item));
  }
}

void BM_QuickFindKeystrokeWithoutMatch(benchmark::State& state) {
  constexpr int kDirectories = 50;
  constexpr int kBlocksEach = 2000;
  library::Library& library = library::TheLibrary();
  library::EmptyLibrary();
  for (int at = 0; at < kDirectories; ++at) {
    library.Append(MakeDirectory(kBlocksEach, static_cast<unsigned>(at + 1)));
  }
  library::Directory* current = &library.At(0);
  library.SetCurrent(current);
  fw::Dialog dialog(BlockListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  Fill(list, *current);
  for (auto _ : state) {
    std::wstring pattern = ui::FindPattern(L"Qz.7");
    benchmark::DoNotOptimize(ui::FindInList(pattern, list, 0));
    benchmark::DoNotOptimize(ui::FindInOtherDirectories(pattern, current));
  }
  library.SetCurrent(nullptr);
  library::EmptyLibrary();
}
BENCHMARK(BM_QuickFindKeystrokeWithoutMatch)->Unit(benchmark::kMillisecond);

// Argument: the sort style (1 Name ... 6 Created, 8 RevName ... 13 RevCreated).
void BM_SortFiveThousandByKey(benchmark::State& state) {
  auto d = MakeDirectory(5000, 99);
  fw::Dialog dialog(BlockListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  Fill(list, *d);
  int style = static_cast<int>(state.range(0));
  for (auto _ : state) {
    // Every pass sorts from the order the items were added (None, not timed).
    state.PauseTiming();
    ui::SortBlockList(list, 0);
    state.ResumeTiming();
    ui::SortBlockList(list, style);
  }
}
BENCHMARK(BM_SortFiveThousandByKey)
    ->DenseRange(1, 6)
    ->Arg(8)
    ->Arg(11)
    ->Unit(benchmark::kMillisecond);

// Gives every block of d a thumbnail of its own in both of d's image lists.
void AddThumbnails(library::Directory& d) {
  d.ResetImages(false);
  int index = 1;
  for (const auto& b : d.Blocks()) {
    fw::Bitmap large(library::Directory::kLargeImageWidth, library::Directory::kLargeImageHeight);
    fw::Bitmap small(library::Directory::kSmallImageWidth, library::Directory::kSmallImageHeight);
    // A diagonal stroke that moves with the index, so no two neighbours look alike.
    const fw::COLORREF red = fw::RGB(255, 0, 0);
    for (int x = 0; x < large.Width(); ++x) large.SetPixel(x, (x + index) % large.Height(), red);
    for (int x = 0; x < small.Width(); ++x) small.SetPixel(x, (x + index) % small.Height(), red);
    d.LargeImages().Add(large);
    d.SmallImages().Add(small);
    b->imageIndex = index++;
  }
}

void BM_SwitchViewOfFiveThousandThumbnails(benchmark::State& state) {
  auto d = MakeDirectory(5000, 7);
  AddThumbnails(*d);
  fw::Dialog dialog(BlockListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  list.SetImageList(d->LargeImages(), fw::LVSIL_NORMAL);
  list.SetImageList(d->SmallImages(), fw::LVSIL_SMALL);
  list.SetIconSpacing(142, 120);
  Fill(list, *d);
  ui::MyList blocks(list);
  int view = ui::kViewReport;
  for (auto _ : state) {
    // What a click on the view button does: the next view, arranged, and the list re-sorted.
    view = (view + 1) % ui::kViewCount;
    blocks.SetView(view);
    blocks.Resort(d->sortStyle);
  }
}
BENCHMARK(BM_SwitchViewOfFiveThousandThumbnails)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
