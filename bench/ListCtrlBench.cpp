// The list control model at the sizes the block list meets: filling 5,000 items with their
// report texts (goal: under 20 ms), sorting 100,000 items by an integer key (goal: under 20 ms)
// and by a case-insensitive name.
//   build/release/bin/list_ctrl_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

#include "BlockListPlace.h"
#include "fw/Dialog.h"
#include "fw/ListCtrl.h"

namespace {

using bench::BlockListTemplate;
using bench::kListId;

void AddColumns(fw::ListCtrl& list) {
  const std::pair<const wchar_t*, int> columns[] = {{L"Block", 140},   {L"Rel", 45},
                                                    {L"Comments", 140}, {L"Size", 60},
                                                    {L"Created", 105}, {L"Modified", 105}};
  int at = 0;
  for (const auto& [heading, width] : columns) list.InsertColumn(at++, heading, fw::LVCFMT_LEFT, width);
}

// Names with mixed case and shared prefixes, as drawing libraries have.
std::vector<std::wstring> Names(int count) {
  std::mt19937 random(42);
  const wchar_t* stems[] = {L"Bolt", L"nut", L"Washer", L"DOOR", L"window", L"Pipe", L"valve"};
  std::vector<std::wstring> names;
  names.reserve(static_cast<std::size_t>(count));
  for (int at = 0; at < count; ++at) {
    names.push_back(std::wstring(stems[random() % 7]) + L"-" + std::to_wstring(random() % 100000) +
                    (random() % 2 != 0 ? L"-Detail" : L"-plan"));
  }
  return names;
}

void BM_FillFiveThousandItemsWithTheirTexts(benchmark::State& state) {
  constexpr int kItems = 5000;
  std::vector<std::wstring> names = Names(kItems);
  fw::Dialog dialog(BlockListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  AddColumns(list);
  for (auto _ : state) {
    list.DeleteAllItems();
    // As the loader fills the list: the item, then its sub-items and data.
    for (int at = 0; at < kItems; ++at) {
      int position = list.InsertItem(at, names[static_cast<std::size_t>(at)], at % 40);
      list.SetItemText(position, 1, L"2018");
      list.SetItemText(position, 2, L"Hexagon bolt, M12 x 40, galvanised");
      list.SetItemText(position, 3, std::to_wstring(40000 + at));
      list.SetItemText(position, 4, L"03/14/21, 10:15:00");
      list.SetItemText(position, 5, L"04/02/22, 16:45:30");
      list.SetItemData(position, static_cast<fw::ItemData>(at));
    }
    benchmark::DoNotOptimize(list.GetItemCount());
  }
}
BENCHMARK(BM_FillFiveThousandItemsWithTheirTexts)->Unit(benchmark::kMillisecond);

// A list of `count` items whose data indexes `keys` and `names`.
struct SortFixture {
  explicit SortFixture(int count) : dialog(BlockListTemplate()), names(Names(count)) {
    std::mt19937_64 random(7);
    for (int at = 0; at < count; ++at) {
      keys.push_back(static_cast<std::int64_t>(random() % 1000000));
      shuffle.push_back(static_cast<std::int64_t>(random()));
    }
    auto& list = dialog.Item<fw::ListCtrl>(kListId);
    for (int at = 0; at < count; ++at) {
      fw::ListItem item;
      item.texts = {names[static_cast<std::size_t>(at)]};
      item.data = static_cast<fw::ItemData>(at);
      list.InsertItem(at, std::move(item));
    }
    list.SetItemState(count / 2, fw::LVIS_SELECTED, fw::LVIS_SELECTED);
  }
  // Puts the items in a random order, outside the timing.
  void Shuffle(benchmark::State& state) {
    state.PauseTiming();
    List().SortItemsByKey([this](fw::ItemData data) { return shuffle[data]; });
    state.ResumeTiming();
  }
  fw::ListCtrl& List() { return dialog.Item<fw::ListCtrl>(kListId); }

  fw::Dialog dialog;
  std::vector<std::wstring> names;
  std::vector<std::int64_t> keys;
  std::vector<std::int64_t> shuffle;
};

void BM_SortByIntegerKey(benchmark::State& state) {
  SortFixture fixture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    fixture.Shuffle(state);
    fixture.List().SortItemsByKey([&fixture](fw::ItemData data) { return fixture.keys[data]; });
  }
}
BENCHMARK(BM_SortByIntegerKey)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The comparison of names without regard to case, letter by letter, as a comparison function
// over item data does it.
int CompareNoCase(const std::wstring& first, const std::wstring& second) {
  std::size_t length = std::min(first.size(), second.size());
  for (std::size_t at = 0; at < length; ++at) {
    wint_t a = std::towlower(static_cast<wint_t>(first[at]));
    wint_t b = std::towlower(static_cast<wint_t>(second[at]));
    if (a != b) return a < b ? -1 : 1;
  }
  return first.size() < second.size() ? -1 : (first.size() > second.size() ? 1 : 0);
}

void BM_SortByNameWithoutCase(benchmark::State& state) {
  SortFixture fixture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    fixture.Shuffle(state);
    fixture.List().SortItems([&fixture](fw::ItemData first, fw::ItemData second) {
      return CompareNoCase(fixture.names[first], fixture.names[second]);
    });
  }
}
BENCHMARK(BM_SortByNameWithoutCase)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
