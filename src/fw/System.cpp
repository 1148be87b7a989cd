// Names of the machine and the user, and the well-known folders, from POSIX and the XDG
// conventions.
#include "fw/System.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace fw {
namespace {

// An environment variable, or empty when unset. The variables read here hold folders and names,
// so their bytes are taken as a path's are: losslessly.
std::wstring Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? FromNativePath(value) : std::wstring();
}

// The effective user's password entry, read into `buffer`; nullptr when there is none (a user id
// without an entry, as in some containers).
const passwd* UserEntry(passwd& entry, std::vector<char>& buffer) {
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  buffer.resize(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
  // Entries larger than this are not real; the cap ends the growth loop.
  constexpr std::size_t kMaxEntrySize = 1 << 20;
  for (;;) {
    passwd* result = nullptr;
    int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &result);
    if (error == 0) return result;
    if (error != ERANGE || buffer.size() >= kMaxEntrySize) return nullptr;
    buffer.resize(buffer.size() * 2);
  }
}

// The home folder: $HOME, else the password entry's.
std::wstring HomeFolder() {
  std::wstring home = Environment("HOME");
  if (!home.empty()) return home;
  passwd entry{};
  std::vector<char> buffer;
  const passwd* user = UserEntry(entry, buffer);
  return user != nullptr && user->pw_dir != nullptr ? FromNativePath(user->pw_dir) : std::wstring();
}

// An XDG folder variable, else the fallback under the home folder; empty when neither is known.
// The XDG rules ignore a relative value.
std::wstring XdgFolder(const char* variable, std::wstring_view fallbackUnderHome) {
  std::wstring folder = Environment(variable);
  if (!folder.empty() && folder.front() == kPathSeparator) return folder;
  std::wstring home = HomeFolder();
  return home.empty() ? std::wstring() : PathJoin(home, fallbackUnderHome);
}

}  // namespace

std::wstring GetComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return FromUtf8(name);
}

std::wstring GetUserName() {
  passwd entry{};
  std::vector<char> buffer;
  const passwd* user = UserEntry(entry, buffer);
  if (user != nullptr && user->pw_name != nullptr && *user->pw_name != 0) {
    return FromUtf8(user->pw_name);
  }
  std::wstring name = Environment("USER");
  return !name.empty() ? name : Environment("LOGNAME");
}

std::wstring GetDocumentsFolder() { return XdgFolder("XDG_DOCUMENTS_DIR", L"Documents"); }

std::wstring GetAppDataFolder() { return XdgFolder("XDG_DATA_HOME", L".local/share"); }

// Empty when the current folder is gone or its path is longer than the cap.
std::wstring GetCurrentFolder() {
  // Paths longer than this are refused by most calls anyway; the cap ends the growth loop.
  constexpr std::size_t kMaxPath = 1 << 20;
  std::vector<char> buffer(PATH_MAX);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() >= kMaxPath) return {};
    buffer.resize(buffer.size() * 2);
  }
  std::wstring folder = FromNativePath(buffer.data());
  while (folder.size() > 1 && folder.back() == kPathSeparator) folder.pop_back();
  return folder;
}

}  // namespace fw
