#include "module/RunLog.h"

#include <gtest/gtest.h>

#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Trace.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::wstring LogFileName(const std::wstring& computer, int number) {
  return L"qv for " + computer + L" " + std::to_wstring(number) + L".log";
}

TEST(RunLog, WritesNothingWithoutALogFolder) {
  TempFolder folder;
  module::RunLog log(folder / L"Log", L"PC1");
  log.Append(L"first\n");
  log.Append(L"second\n");
  EXPECT_FALSE(log.IsEnabled());
  EXPECT_FALSE(fw::PathExists(folder / L"Log"));
  EXPECT_TRUE(log.Path().empty());
}

TEST(RunLog, StaysOffWhenTheFolderAppearsLater) {
  TempFolder folder;
  module::RunLog log(folder / L"Log", L"PC1");
  log.Append(L"before\n");
  ASSERT_TRUE(fw::CreateDirectory(folder / L"Log"));
  log.Append(L"after\n");
  EXPECT_FALSE(fw::PathExists(folder / L"Log" + L"/" + LogFileName(L"PC1", 1)));
}

TEST(RunLog, AFileNamedLogSwitchesLoggingOff) {
  TempFolder folder;
  WriteFile(folder / L"Log", "not a folder");
  module::RunLog log(folder / L"Log", L"PC1");
  log.Append(L"line\n");
  EXPECT_FALSE(log.IsEnabled());
  EXPECT_EQ(ReadFile(folder / L"Log"), "not a folder");
}

TEST(RunLog, TakesTheFirstFreeNumberOfThisComputer) {
  TempFolder folder;
  std::wstring logFolder = folder / L"Log";
  ASSERT_TRUE(fw::CreateDirectory(logFolder));
  WriteFile(logFolder + L"/" + LogFileName(L"PC1", 1), "old 1\n");
  WriteFile(logFolder + L"/" + LogFileName(L"PC1", 2), "old 2\n");
  WriteFile(logFolder + L"/" + LogFileName(L"OTHER", 3), "other computer\n");
  WriteFile(logFolder + L"/" + LogFileName(L"OTHER", 4), "other computer\n");

  module::RunLog log(logFolder, L"PC1");
  log.Append(L"new session\n");

  EXPECT_EQ(log.Path(), logFolder + L"/" + LogFileName(L"PC1", 3));
  EXPECT_EQ(ReadFile(log.Path()), "new session\n");
  EXPECT_EQ(ReadFile(logFolder + L"/" + LogFileName(L"PC1", 1)), "old 1\n");
  EXPECT_EQ(ReadFile(logFolder + L"/" + LogFileName(L"PC1", 2)), "old 2\n");
}

TEST(RunLog, AppendsLinesInOrderToOneFile) {
  TempFolder folder;
  ASSERT_TRUE(fw::CreateDirectory(folder / L"Log"));
  module::RunLog log(folder / L"Log", L"PC1");
  log.Append(L"LoadIni\n");
  log.Append(L"Ini located at /x/qv35.ini\n");
  EXPECT_EQ(ReadFile(log.Path()), "LoadIni\nIni located at /x/qv35.ini\n");
}

TEST(RunLog, ConcurrentLinesAreNeitherLostNorInterleaved) {
  TempFolder folder;
  ASSERT_TRUE(fw::CreateDirectory(folder / L"Log"));
  module::RunLog log(folder / L"Log", L"PC1");
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kLines; ++i) {
        log.Append(fw::Format(L"thread %d line %d with some padding text\n", t, i));
      }
    });
  }
  for (auto& thread : threads) thread.join();

  std::string text = ReadFile(log.Path());
  std::vector<int> nextLine(kThreads, 0);
  size_t start = 0;
  int lines = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    int thread = -1, line = -1;
    ASSERT_EQ(std::sscanf(text.substr(start, end - start).c_str(),
                          "thread %d line %d with some padding text", &thread, &line),
              2);
    ASSERT_GE(thread, 0);
    ASSERT_LT(thread, kThreads);
    EXPECT_EQ(line, nextLine[thread]++) << "lines of one thread out of order";
    ++lines;
    start = end + 1;
  }
  EXPECT_EQ(lines, kThreads * kLines);
}

TEST(RunLog, LogLineWritesTheFormattedLineCutAtTheBufferSizeKeepingItsLineEnd) {
  TempFolder folder;
  ASSERT_TRUE(fw::CreateDirectory(folder / L"LOG")) << "a folder copied from elsewhere";
  module::StartRunLog(folder.Path());
  LogLine(L"Ini located at %s\n", L"/home/user/qv35.ini");
  LogLine(L"%s\n", std::wstring(5000, L'x').c_str());
  LogLine(L"%s", std::wstring(5000, L'y').c_str());
  module::StopRunLog();
  LogLine(L"after the log stopped\n");

  std::wstring path = folder / L"LOG" + L"/" + LogFileName(fw::GetComputerName(), 1);
  std::string expected = "Ini located at /home/user/qv35.ini\n" + std::string(1998, 'x') +
                         "\n" + std::string(1999, 'y');
  EXPECT_EQ(ReadFile(path), expected);
}

// Sessions started together: each must create a file of its own, never append to another's.
TEST(RunLog, SessionsStartedTogetherNeverShareAFile) {
  constexpr int kSessions = 6;
  for (int round = 0; round < 20; ++round) {
    TempFolder folder;
    ASSERT_TRUE(fw::CreateDirectory(folder / L"Log"));
    std::vector<std::unique_ptr<module::RunLog>> logs;
    for (int i = 0; i < kSessions; ++i) {
      logs.push_back(std::make_unique<module::RunLog>(folder / L"Log", L"PC1"));
    }
    std::latch start(kSessions);
    std::vector<std::thread> threads;
    for (auto& log : logs) {
      threads.emplace_back([&start, &log] {
        start.arrive_and_wait();
        log->Append(L"first line\n");
      });
    }
    for (auto& thread : threads) thread.join();
    for (auto& log : logs) EXPECT_EQ(ReadFile(log->Path()), "first line\n");
  }
}

}  // namespace
