// The host's command stack: the commands modules register, in named groups. The group added
// last is searched first, so a module can shadow a name registered before it. Host main thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arx/accmd.h"
#include "minicad/Command.h"

namespace minicad {

// What tests and tools see of a registered command.
struct CommandInfo {
  std::wstring globalName;
  std::wstring localName;
  Adesk::Int32 flags = 0;
};

struct CommandGroupInfo {
  std::wstring name;
  std::vector<CommandInfo> commands;  // in the order they were added
};

class CommandStack : public AcEdCommandStack {
 public:
  // Names are stored in upper case and compared without regard to case. Fails with
  // eInvalidInput for a missing group or global name, a missing function, or a name that
  // could never be typed (empty, holding a blank or control character, or starting with one of
  // the prefixes "_", "." and "'"); with eDuplicateKey when the group already has the global
  // or the local name. An absent local name is the global name.
  Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                               AcRxFunctionPtr functionAddr, AcEdUIContext* UIContext = nullptr,
                               int fcode = -1, void* hResourceHandle = nullptr,
                               AcEdCommand** cmdPtrRet = nullptr) override;
  // Fails with eInvalidInput for a null name, eKeyNotFound when no such group exists.
  Acad::ErrorStatus removeGroup(const ACHAR* groupName) override;

  // The command of that name in the most recently added group that has one. The copy stays
  // usable when its group is removed while it runs.
  std::optional<Command> FindByGlobalName(std::wstring_view name) const;
  std::optional<Command> FindByLocalName(std::wstring_view name) const;

  // The groups in the order they were added.
  std::vector<CommandGroupInfo> Groups() const;
  // Drops every group, before the modules whose functions they point into are unloaded.
  void Clear();

 private:
  struct Group {
    std::wstring name;
    std::vector<Command> commands;
  };
  std::vector<Group> groups_;
};

}  // namespace minicad
