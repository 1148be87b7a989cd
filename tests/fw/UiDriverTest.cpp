// The process's UI driver, the framework's message box, and the headless driver's answers,
// records and wait cursors, also under several threads at once.
#include "fw/HeadlessUiDriver.h"
#include "fw/UiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

using fw::HeadlessUiDriver;

// Installs a driver of the test's own for the life of the object.
class ScopedDriver {
 public:
  explicit ScopedDriver(fw::UiDriver& driver) { fw::SetUiDriver(&driver); }
  ~ScopedDriver() { fw::SetUiDriver(nullptr); }
  ScopedDriver(const ScopedDriver&) = delete;
  ScopedDriver& operator=(const ScopedDriver&) = delete;
};

TEST(AfxMessageBox, ShowsTheTextUnderTheApplicationNameThroughTheInstalledDriver) {
  EXPECT_NE(dynamic_cast<HeadlessUiDriver*>(&fw::GetUiDriver()), nullptr);
  HeadlessUiDriver driver;
  {
    ScopedDriver installed(driver);
    EXPECT_EQ(fw::GetAppName(), L"");
    fw::SetAppName(L"Quorvane");
    EXPECT_EQ(fw::AfxMessageBox(L"Update the block?", fw::MB_YESNO | fw::MB_ICONQUESTION),
              fw::IDYES);
    fw::SetAppName(L"");
  }
  EXPECT_NE(&fw::GetUiDriver(), &driver);
  auto shown = driver.Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, L"Update the block?");
  EXPECT_EQ(shown[0].caption, L"Quorvane");
  EXPECT_EQ(shown[0].type, fw::MB_YESNO | fw::MB_ICONQUESTION);
  EXPECT_EQ(shown[0].answer, fw::IDYES);
}

TEST(HeadlessUiDriver, AnswersTheFirstButtonOfEachKind) {
  const std::pair<unsigned, int> cases[] = {
      {fw::MB_OK, fw::IDOK},
      {fw::MB_OKCANCEL, fw::IDOK},
      {fw::MB_ABORTRETRYIGNORE | fw::MB_ICONERROR, fw::IDABORT},
      {fw::MB_YESNOCANCEL, fw::IDYES},
      {fw::MB_YESNO | fw::MB_ICONEXCLAMATION, fw::IDYES},
      {fw::MB_RETRYCANCEL, fw::IDRETRY},
  };
  HeadlessUiDriver driver;
  for (auto [type, expected] : cases) {
    EXPECT_EQ(driver.MessageBox(L"text", L"caption", type), expected) << type;
  }
}

TEST(HeadlessUiDriver, TakesScriptedAnswersInOrderThenFallsBack) {
  HeadlessUiDriver driver;
  driver.QueueAnswer(fw::IDNO);
  driver.QueueAnswer(fw::IDCANCEL);
  EXPECT_EQ(driver.MessageBox(L"first", L"", fw::MB_YESNO), fw::IDNO);
  EXPECT_EQ(driver.MessageBox(L"second", L"", fw::MB_YESNOCANCEL), fw::IDCANCEL);
  EXPECT_EQ(driver.MessageBox(L"third", L"", fw::MB_YESNO), fw::IDYES);

  auto taken = driver.TakeMessages();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[1].text, L"second");
  EXPECT_EQ(taken[1].answer, fw::IDCANCEL);
  EXPECT_TRUE(driver.Messages().empty());
}

TEST(CWaitCursor, CountsNestedCursorsAndTheirDepth) {
  HeadlessUiDriver driver;
  ScopedDriver installed(driver);
  {
    fw::CWaitCursor outer;
    {
      fw::CWaitCursor inner;
      EXPECT_EQ(driver.WaitCursorDepth(), 2);
    }
    EXPECT_EQ(driver.WaitCursorDepth(), 1);
  }
  EXPECT_EQ(driver.WaitCursorDepth(), 0);
  EXPECT_EQ(driver.WaitCursorCount(), 2);
  driver.EndWaitCursor();
  EXPECT_EQ(driver.WaitCursorDepth(), 0);
}

TEST(HeadlessUiDriver, HandsEachScriptedAnswerToExactlyOneOfSeveralThreads) {
  constexpr int kThreads = 4;
  constexpr int kBoxesPerThread = 50;
  HeadlessUiDriver driver;
  ScopedDriver installed(driver);
  for (int i = 0; i < kThreads * kBoxesPerThread / 2; ++i) driver.QueueAnswer(fw::IDNO);

  std::vector<std::vector<int>> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &answers] {
      for (int i = 0; i < kBoxesPerThread; ++i) {
        fw::CWaitCursor cursor;
        answers[t].push_back(fw::AfxMessageBox(L"from " + std::to_wstring(t), fw::MB_YESNO));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  int noes = 0;
  for (const auto& perThread : answers) {
    noes += static_cast<int>(std::count(perThread.begin(), perThread.end(), fw::IDNO));
  }
  EXPECT_EQ(noes, kThreads * kBoxesPerThread / 2);
  EXPECT_EQ(driver.Messages().size(), static_cast<std::size_t>(kThreads * kBoxesPerThread));
  EXPECT_EQ(driver.WaitCursorDepth(), 0);
  EXPECT_EQ(driver.WaitCursorCount(), kThreads * kBoxesPerThread);
}

}  // namespace
