// The command stack: groups of module commands and the lookup by name.
#include "minicad/CommandStack.h"

#include <algorithm>
#include <cwctype>

#include "fw/Strings.h"

namespace minicad {
namespace {

bool IsTypeableName(std::wstring_view name) {
  if (name.empty() || name.front() == L'_' || name.front() == L'.' || name.front() == L'\'') {
    return false;
  }
  return std::none_of(name.begin(), name.end(),
                      [](wchar_t c) { return std::iswspace(c) || std::iswcntrl(c); });
}

}  // namespace

Acad::ErrorStatus CommandStack::addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                           const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                           AcRxFunctionPtr functionAddr, AcEdUIContext*, int,
                                           void*, AcEdCommand** cmdPtrRet) {
  if (cmdPtrRet != nullptr) *cmdPtrRet = nullptr;
  if (cmdGroupName == nullptr || *cmdGroupName == L'\0' || cmdGlobalName == nullptr ||
      functionAddr == nullptr) {
    return Acad::eInvalidInput;
  }
  if (cmdLocalName == nullptr || *cmdLocalName == L'\0') cmdLocalName = cmdGlobalName;
  if (!IsTypeableName(cmdGlobalName) || !IsTypeableName(cmdLocalName)) {
    return Acad::eInvalidInput;
  }

  auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& candidate) {
    return fw::EqualsNoCase(candidate.name, cmdGroupName);
  });
  if (group == groups_.end()) {
    groups_.push_back(Group{cmdGroupName, {}});
    group = std::prev(groups_.end());
  }
  for (const Command& existing : group->commands) {
    if (fw::EqualsNoCase(existing.globalName, cmdGlobalName) ||
        fw::EqualsNoCase(existing.localName, cmdLocalName)) {
      return Acad::eDuplicateKey;
    }
  }
  group->commands.push_back(Command{group->name, fw::ToUpper(cmdGlobalName),
                                    fw::ToUpper(cmdLocalName), commandFlags, functionAddr});
  return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeGroup(const ACHAR* groupName) {
  if (groupName == nullptr) return Acad::eInvalidInput;
  auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& candidate) {
    return fw::EqualsNoCase(candidate.name, groupName);
  });
  if (group == groups_.end()) return Acad::eKeyNotFound;
  groups_.erase(group);
  return Acad::eOk;
}

std::optional<Command> CommandStack::FindByGlobalName(std::wstring_view name) const {
  for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
    for (const Command& command : group->commands) {
      if (fw::EqualsNoCase(command.globalName, name)) return command;
    }
  }
  return std::nullopt;
}

std::optional<Command> CommandStack::FindByLocalName(std::wstring_view name) const {
  for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
    for (const Command& command : group->commands) {
      if (fw::EqualsNoCase(command.localName, name)) return command;
    }
  }
  return std::nullopt;
}

std::vector<CommandGroupInfo> CommandStack::Groups() const {
  std::vector<CommandGroupInfo> groups;
  for (const Group& group : groups_) {
    CommandGroupInfo info{group.name, {}};
    for (const Command& command : group.commands) {
      info.commands.push_back(CommandInfo{command.globalName, command.localName, command.flags});
    }
    groups.push_back(std::move(info));
  }
  return groups;
}

void CommandStack::Clear() { groups_.clear(); }

}  // namespace minicad
