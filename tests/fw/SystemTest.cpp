// Names of the machine and the user, and the well-known folders.
#include "fw/NativePath.h"
#include "fw/System.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "fw/Strings.h"

namespace {

// Sets (or with nullptr removes) an environment variable for one test and restores it.
class EnvironmentScope {
 public:
  EnvironmentScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvironmentScope() {
    if (previous_) {
      setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

TEST(System, NamesTheComputerAndTheUser) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(fw::GetComputerName(), fw::FromUtf8(host));
  EXPECT_FALSE(fw::GetUserName().empty());
}

TEST(System, TakesAbsoluteXdgFoldersAndIgnoresRelativeOnes) {
  EnvironmentScope home("HOME", "/home/drafter");
  {
    EnvironmentScope data("XDG_DATA_HOME", "/data");
    EnvironmentScope documents("XDG_DOCUMENTS_DIR", "/docs");
    EXPECT_EQ(fw::GetAppDataFolder(), L"/data");
    EXPECT_EQ(fw::GetDocumentsFolder(), L"/docs");
  }
  EnvironmentScope data("XDG_DATA_HOME", "relative");
  EnvironmentScope documents("XDG_DOCUMENTS_DIR", nullptr);
  EXPECT_EQ(fw::GetAppDataFolder(), L"/home/drafter/.local/share");
  EXPECT_EQ(fw::GetDocumentsFolder(), L"/home/drafter/Documents");
}

TEST(System, ReportsTheCurrentFolderWithoutTrailingSeparator) {
  char* current = getcwd(nullptr, 0);
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(fw::GetCurrentFolder(), fw::FromNativePath(current));
  std::free(current);
}

}  // namespace
