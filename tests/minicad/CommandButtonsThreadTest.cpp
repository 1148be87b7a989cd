// The host's button bars changed from several threads at once while the host window lists them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "minicad/CommandButtons.h"

namespace {

TEST(CommandButtonsThreads, KeepEveryChangeMadeFromSeveralThreads) {
  minicad::CommandButtons buttons;
  std::atomic<int> changes{0};
  buttons.SetChangeListener([&] {
    changes.fetch_add(1);
    (void)buttons.List();  // as the host window does to refresh its bars
  });
  constexpr int kPerThread = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&buttons, t] {
      const std::wstring command = L"command" + std::to_wstring(t) + L"\n";
      for (int i = 0; i < kPerThread; ++i) {
        buttons.Add({minicad::ButtonBar::kToolbar, command, L"Title", {}});
        if (i % 2 == 1) buttons.Remove(minicad::ButtonBar::kToolbar, command);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(buttons.List().size(), 0u);
  EXPECT_EQ(changes.load(), 3 * (kPerThread + kPerThread / 2));
}

}  // namespace
