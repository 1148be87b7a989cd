// Writing the store back to disk: the written text, backup rotation, waiting for another
// writer, read-only files, and several threads at once, on real files in a fresh folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"

namespace {

using namespace std::chrono_literals;
using settings::IniFlush;
using settings::IniFlushAttempts;
using settings::IniGetInt;
using settings::IniLoad;
using settings::IniWriteInt;
using settings::IniWriteString;
using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::vector<std::string> Listing(const TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(fw::NativePath(folder.Path()))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string NumberedText(int value) { return "[s]\nv=" + std::to_string(value) + "\n"; }

// Holds the lock that writers of `file` share, as another writer would, until released.
class OtherWriter {
 public:
  explicit OtherWriter(const std::wstring& file)
      : descriptor_(open((fw::NativePath(file) + ".lock").c_str(), O_RDONLY | O_CREAT, 0666)) {
    EXPECT_EQ(flock(descriptor_, LOCK_EX | LOCK_NB), 0);
  }
  ~OtherWriter() { Release(); }
  void Release() {
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
  }

 private:
  int descriptor_;
};

constexpr IniFlushAttempts kFewQuickAttempts{3, 1ms};

TEST(IniFlush, WritesSectionsAndKeysInLowerCaseWithoutCommentsOrBackups) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, "; by hand\r\n[Quorva Options]\r\nBlockInsert=2\r\nDescription\r\n\r\n"
                  "[Paths]\r\nPath1 = /Lib/Doors\r\n");
  ASSERT_TRUE(IniLoad(file));
  ASSERT_TRUE(IniFlush(file, false));
  EXPECT_EQ(ReadFile(file),
            "[quorva options]\nblockinsert=2\nDescription\n\n[paths]\npath1 = /Lib/Doors\n");
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"qv35.ini", "qv35.ini.lock"}));
}

TEST(IniFlush, CreatesAFileThatWasOnlyWrittenInMemory) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  IniWriteString(L"Schemes", L"NumSchemes", L"0", file);
  ASSERT_TRUE(IniFlush(file, true));
  EXPECT_EQ(ReadFile(file), "[schemes]\nnumschemes=0\n");
}

TEST(IniFlush, WritesNothingForAFileNeverLoadedOrWritten) {
  TempFolder folder;
  EXPECT_FALSE(IniFlush(folder / L"never.ini", true));
  EXPECT_TRUE(Listing(folder).empty());
}

TEST(IniFlush, FailsForAFolderThatDoesNotExist) {
  TempFolder folder;
  std::wstring file = folder / L"missing/qv35.ini";
  IniWriteString(L"s", L"k", L"v", file);
  EXPECT_FALSE(IniFlush(file, true));
  EXPECT_TRUE(Listing(folder).empty());
}

TEST(IniFlush, FiveFlushesWithBackupsLeaveBackupsOneToFiveNewestFirst) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_TRUE(IniLoad(file));
  for (int value = 1; value <= 5; ++value) {
    IniWriteInt(L"s", L"v", value, file);
    ASSERT_TRUE(IniFlush(file, true));
  }
  EXPECT_EQ(ReadFile(file), NumberedText(5));
  for (int backup = 1; backup <= 5; ++backup) {
    EXPECT_EQ(ReadFile(folder / (L"qv35.bk" + std::to_wstring(backup))), NumberedText(5 - backup))
        << "backup " << backup;
  }
  EXPECT_FALSE(std::filesystem::exists(fw::NativePath(folder / L"qv35.bk6")));
}

TEST(IniFlush, KeepsNineBackupsAndDropsOlderOnes) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_TRUE(IniLoad(file));
  for (int value = 1; value <= 11; ++value) {
    IniWriteInt(L"s", L"v", value, file);
    ASSERT_TRUE(IniFlush(file, true));
  }
  EXPECT_EQ(ReadFile(folder / L"qv35.bk1"), NumberedText(10));
  EXPECT_EQ(ReadFile(folder / L"qv35.bk9"), NumberedText(2));
  std::vector<std::string> expected = {"qv35.bk1", "qv35.bk2", "qv35.bk3", "qv35.bk4",
                                       "qv35.bk5", "qv35.bk6", "qv35.bk7", "qv35.bk8",
                                       "qv35.bk9", "qv35.ini", "qv35.ini.lock"};
  EXPECT_EQ(Listing(folder), expected);
}

TEST(IniFlush, KeepsThePermissionsOfTheFileItReplaces) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_EQ(chmod(fw::NativePath(file).c_str(), 0640), 0);
  ASSERT_TRUE(IniLoad(file));
  ASSERT_TRUE(IniFlush(file, false));
  struct stat status {};
  ASSERT_EQ(stat(fw::NativePath(file).c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// A settings file kept as a link into another folder is written there, with its backups, and
// stays a link.
TEST(IniFlush, WritesThroughASymbolicLinkAndKeepsIt) {
  TempFolder folder;
  fw::CreateDirectory(folder / L"shared");
  std::wstring target = folder / L"shared/qv35.ini";
  std::wstring link = folder / L"qv35.ini";
  WriteFile(target, NumberedText(1));
  ASSERT_EQ(symlink(fw::NativePath(target).c_str(), fw::NativePath(link).c_str()), 0);
  ASSERT_TRUE(IniLoad(link));
  IniWriteInt(L"s", L"v", 2, link);
  ASSERT_TRUE(IniFlush(link, true));
  struct stat status {};
  ASSERT_EQ(lstat(fw::NativePath(link).c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(ReadFile(target), NumberedText(2));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"qv35.ini", "shared"}));
}

TEST(IniFlush, LeavesAReadOnlyFileAsItIs) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_EQ(chmod(fw::NativePath(file).c_str(), 0444), 0);
  ASSERT_TRUE(IniLoad(file));
  IniWriteInt(L"s", L"v", 1, file);
  EXPECT_FALSE(IniFlush(file, true));
  EXPECT_EQ(ReadFile(file), NumberedText(0));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"qv35.ini"}));
  EXPECT_EQ(IniGetInt(L"s", L"v", -1, file), 1);
}

// Whatever a load did not read stays as it is: a flush must never replace it with what little
// the store holds. A missing file is no refusal: the first save creates it.
TEST(IniFlush, NeverReplacesAFileItsLoadRefused) {
  struct Case {
    const char* name;
    std::function<void(const std::wstring&)> make;
    bool refused;
  };
  const std::string big = NumberedText(7) + std::string(settings::kMaxIniFileBytes, ';');
  const std::string manyLines(settings::kMaxIniLines + 1, '\n');
  const Case cases[] = {
      {"larger than the cap", [&](const std::wstring& f) { WriteFile(f, big); }, true},
      {"more lines than the cap", [&](const std::wstring& f) { WriteFile(f, manyLines); }, true},
      {"a FIFO", [](const std::wstring& f) { ASSERT_EQ(mkfifo(fw::NativePath(f).c_str(), 0666), 0); },
       true},
      {"a folder", [](const std::wstring& f) { ASSERT_TRUE(fw::CreateDirectory(f)); }, true},
      {"missing", [](const std::wstring&) {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::wstring file = folder / L"qv35.ini";
    c.make(file);
    struct stat before {};
    const bool existed = stat(fw::NativePath(file).c_str(), &before) == 0;
    EXPECT_FALSE(IniLoad(file));
    EXPECT_EQ(settings::IniWasRefused(file), c.refused);
    settings::IniForget(file);
    IniWriteInt(L"s", L"v", 1, file);
    EXPECT_EQ(IniFlush(file, true, kFewQuickAttempts), !c.refused);
    struct stat after {};
    if (existed) {
      ASSERT_EQ(stat(fw::NativePath(file).c_str(), &after), 0);
      EXPECT_EQ(after.st_mode, before.st_mode);
      EXPECT_EQ(after.st_size, before.st_size);
      EXPECT_EQ(after.st_ino, before.st_ino);
    }
    settings::IniForget(file);
  }
}

TEST(IniFlush, ARefusedFileThatIsGoneMayBeWrittenAndALaterLoadClearsTheRefusal) {
  TempFolder folder;
  const std::wstring file = folder / L"qv35.ini";
  WriteFile(file, std::string(settings::kMaxIniFileBytes + 1, ';'));
  EXPECT_FALSE(IniLoad(file));
  WriteFile(file, NumberedText(2));
  ASSERT_TRUE(IniLoad(file));
  EXPECT_FALSE(settings::IniWasRefused(file));
  EXPECT_TRUE(IniFlush(file, false));

  WriteFile(file, std::string(settings::kMaxIniFileBytes + 1, ';'));
  EXPECT_FALSE(IniLoad(file));
  ASSERT_TRUE(fw::DeleteFile(file));
  IniWriteInt(L"s", L"v", 3, file);
  EXPECT_TRUE(IniFlush(file, false));
  EXPECT_EQ(ReadFile(file), NumberedText(3));
  settings::IniForget(file);
}

// A lock that cannot be had at all (here the lock file's name is taken by a folder, as on a file
// system without locks) must not make every save fail.
TEST(IniFlush, WritesWithoutTheLockWhenNoLockCanBeHad) {
  TempFolder folder;
  const std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_TRUE(fw::CreateDirectory(file + L".lock"));
  ASSERT_TRUE(IniLoad(file));
  IniWriteInt(L"s", L"v", 5, file);
  EXPECT_TRUE(IniFlush(file, false, kFewQuickAttempts));
  EXPECT_EQ(ReadFile(file), NumberedText(5));
  settings::IniForget(file);
}

TEST(IniFlush, WaitsWhileAnotherWriterHoldsTheFileAndWritesOnceItIsFreed) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_TRUE(IniLoad(file));
  IniWriteInt(L"s", L"v", 1, file);
  OtherWriter other(file);
  std::atomic<bool> flushed = false;
  // A thousand attempts a millisecond apart outlast the pause below many times over.
  std::thread flusher([&] { flushed = IniFlush(file, true, IniFlushAttempts{1000, 1ms}); });
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(ReadFile(file), NumberedText(0));
  other.Release();
  flusher.join();
  EXPECT_TRUE(flushed);
  EXPECT_EQ(ReadFile(file), NumberedText(1));
  EXPECT_EQ(ReadFile(folder / L"qv35.bk1"), NumberedText(0));
}

TEST(IniFlush, GivesUpWhenAnotherWriterHoldsTheFileThroughEveryAttempt) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  ASSERT_TRUE(IniLoad(file));
  IniWriteInt(L"s", L"v", 1, file);
  OtherWriter other(file);
  EXPECT_FALSE(IniFlush(file, true, kFewQuickAttempts));
  EXPECT_EQ(ReadFile(file), NumberedText(0));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"qv35.ini", "qv35.ini.lock"}));
  EXPECT_EQ(IniGetInt(L"s", L"v", -1, file), 1);
}

// Runs `body` as a user without root's rights: in a child process that gives them up when the
// tests run as root. None when the rights could not be given up.
std::optional<bool> RunWithoutRootRights(const std::function<bool()>& body) {
  if (geteuid() != 0) return body();
  pid_t child = fork();
  if (child == 0) {
    constexpr id_t kNobody = 65534;
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return false;
  if (WEXITSTATUS(status) == 2) return std::nullopt;
  return WEXITSTATUS(status) == 0;
}

TEST(IniFlush, RewritesInPlaceInAFolderThatTakesNoNewFiles) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, NumberedText(0));
  std::string nativeFolder = fw::NativePath(folder.Path());
  ASSERT_EQ(chmod(fw::NativePath(file).c_str(), 0666), 0);
  ASSERT_EQ(chmod(nativeFolder.c_str(), 0555), 0);
  ASSERT_TRUE(IniLoad(file));
  IniWriteInt(L"s", L"v", 1, file);
  std::optional<bool> flushed = RunWithoutRootRights([&] { return IniFlush(file, true); });
  ASSERT_EQ(chmod(nativeFolder.c_str(), 0755), 0);
  if (!flushed) GTEST_SKIP() << "cannot give up root's rights here";
  EXPECT_TRUE(*flushed);
  EXPECT_EQ(ReadFile(file), NumberedText(1));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"qv35.ini"}));
}

TEST(IniFlush, SerialisesThreadsFlushingTheSameFile) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  std::atomic<int> failures = 0;
  auto writer = [&](const wchar_t* key) {
    for (int value = 0; value < 20; ++value) {
      IniWriteInt(L"s", key, value, file);
      if (!IniFlush(file, true)) ++failures;
    }
  };
  std::thread first(writer, L"a");
  std::thread second(writer, L"b");
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  ASSERT_TRUE(IniLoad(file));
  EXPECT_EQ(IniGetInt(L"s", L"a", -1, file), 19);
  EXPECT_EQ(IniGetInt(L"s", L"b", -1, file), 19);
  EXPECT_EQ(Listing(folder).size(), 11u);  // the file, its lock and nine backups, no temporary
}

TEST(IniStore, ServesTwoFilesToSeveralThreadsAtOnce) {
  TempFolder folder;
  const std::wstring files[] = {folder / L"one.ini", folder / L"two.ini"};
  std::atomic<int> mismatches = 0;
  std::atomic<bool> done = false;
  auto owner = [&](const std::wstring& file) {
    for (int value = 0; value < 30; ++value) {
      IniWriteInt(L"s", L"v", value, file);
      if (!IniFlush(file, false) || !IniLoad(file) || IniGetInt(L"s", L"v", -1, file) != value) {
        ++mismatches;
      }
    }
  };
  auto reader = [&] {
    while (!done) {
      for (const std::wstring& file : files) {
        int value = IniGetInt(L"S", L"V", 0, file);
        if (value < 0 || value >= 30) ++mismatches;
      }
    }
  };
  std::thread readerThread(reader);
  std::thread firstOwner(owner, files[0]);
  std::thread secondOwner(owner, files[1]);
  firstOwner.join();
  secondOwner.join();
  done = true;
  readerThread.join();
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(ReadFile(files[0]), "[s]\nv=29\n");
  EXPECT_EQ(ReadFile(files[1]), "[s]\nv=29\n");
}

}  // namespace
