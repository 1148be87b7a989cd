// The browser in a real window, on this process's display (run it under xvfb-run):
// - first paint: from selecting a cached directory of 5,000 drawings until its block list shows
//   them and the window has drawn them (goal: under 200 ms);
// - scrolling: the large-icon view of that directory scrolled a row at a time from the first
//   row to the last, each step drawn before the next; reported as frames per second.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bin/window_bench
#include <benchmark/benchmark.h>

#include <optional>

#include <wx/vscroll.h>

#include "BrowserLibrary.h"
#include "gui/DialogPresenter.h"
#include "gui/Windows.h"

namespace {

using namespace browserbench;

// The windows, started once; nothing runs without a display.
bool Windows() {
  static bool started = [] {
    static char name[] = "window_bench";
    static char* argv[] = {name, nullptr};
    static int argc = 1;
    return gui::StartWindows(argc, argv);
  }();
  return started;
}

// The icon grid among the window's children.
wxHVScrolledWindow* FindGrid(wxWindow* window) {
  if (auto* grid = dynamic_cast<wxHVScrolledWindow*>(window)) return grid;
  for (wxWindow* child : window->GetChildren()) {
    if (wxHVScrolledWindow* grid = FindGrid(child)) return grid;
  }
  return nullptr;
}

// The cached library loaded anew, and the main dialog shown in a window.
struct WindowedShowing {
  WindowedShowing() {
    PrepareCachedLibrary();
    Bench::Get().Reload(true);
    showing.emplace();
    showing->Present(presenter);
  }
  gui::DialogPresenter presenter;
  std::optional<Showing> showing;
};

void BM_FirstPaintInTheWindow(benchmark::State& state) {
  if (!Windows()) return state.SkipWithError("no display");
  WindowedShowing windowed;
  gui::DialogPresenter& presenter = windowed.presenter;
  Showing& showing = *windowed.showing;
  library::Directory& symbols = Named(L"Symbols");
  showing.UntilIdle();
  for (auto _ : state) {
    showing.Select(L"Small");
    showing.UntilIdle();
    presenter.Settle(showing.Dialog());
    Clock::time_point start = Clock::now();
    showing.Select(L"Symbols");
    showing.Until([&] { return showing.Painted(symbols); });
    // What the model shows, drawn: the window paints what was invalidated before this returns.
    presenter.ActiveWindow()->Update();
    state.SetIterationTime(Seconds(Clock::now() - start));
    showing.UntilIdle();
  }
}
BENCHMARK(BM_FirstPaintInTheWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ScrollingTheLargeIcons(benchmark::State& state) {
  if (!Windows()) return state.SkipWithError("no display");
  WindowedShowing windowed;
  gui::DialogPresenter& presenter = windowed.presenter;
  Showing& showing = *windowed.showing;
  showing.Select(L"Symbols");
  showing.UntilIdle();
  showing.Dialog().Blocks().Control().SetView(fw::LVS_ICON);
  showing.Until([] { return true; });
  presenter.Settle(showing.Dialog());
  wxHVScrolledWindow* grid = FindGrid(presenter.ActiveWindow());
  if (grid == nullptr) return state.SkipWithError("the icon view is not shown");
  long frames = 0;
  for (auto _ : state) {
    const size_t rows = grid->GetRowCount();
    for (size_t row = 0; row < rows; ++row) {
      grid->ScrollToRow(row);
      grid->Update();
      ++frames;
    }
    grid->ScrollToRow(0);
  }
  state.counters["rows"] = static_cast<double>(grid->GetRowCount());
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScrollingTheLargeIcons)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
