// Deciding whether the current user is an editor of the shared settings.
#include "settings/Administrator.h"

#include <string>
#include <string_view>
#include <vector>

#include "fw/PrivateProfile.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "settings/IniLocation.h"

namespace settings {
namespace {

// The logon name is read into a buffer of this many characters.
constexpr std::size_t kMaxUserNameLength = 50;
// The section is read into a buffer of this many characters.
constexpr std::size_t kUsersBufferSize = 8192;
constexpr const wchar_t* kUsersSection = L"Users";

std::wstring CurrentUserName() {
  std::wstring name = fw::GetUserName();
  if (name.size() > kMaxUserNameLength) name.resize(kMaxUserNameLength);
  return fw::ToLower(name);
}

bool IsListedUser(std::wstring_view file, std::wstring_view user) {
  std::vector<wchar_t> buffer(kUsersBufferSize);
  fw::GetPrivateProfileSection(kUsersSection, buffer.data(), buffer.size(), file);
  // Entries end at a NUL; the list ends at an empty entry.
  for (const wchar_t* entry = buffer.data(); *entry != L'\0';) {
    std::wstring_view text(entry);
    if (fw::EqualsNoCase(text, user)) return true;
    entry += text.size() + 1;
  }
  return false;
}

}  // namespace

// The administrator file is looked for with room for the longest path, so one in a deep folder
// is found and obeyed rather than missed (which would let everyone edit).
bool IsEditor() {
  const std::wstring found = FindOnSupportPath(kAdministratorFileName);
  if (found.empty()) return true;
  return IsListedUser(found, CurrentUserName());
}

}  // namespace settings
