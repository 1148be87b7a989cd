// The command stack's groups and the lookup of commands by name.
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Strings = std::vector<std::wstring>;

void First() { Events().push_back(L"first"); }
void Second() { Events().push_back(L"second"); }

class CommandStackTest : public HostTest {};

TEST_F(CommandStackTest, AGroupTakesEachGlobalAndLocalNameOnce) {
  minicad::Host host;

  EXPECT_EQ(acedRegCmds->addCommand(L"G", L"ONE", L"EINS", ACRX_CMD_MODAL, First), Acad::eOk);
  EXPECT_EQ(acedRegCmds->addCommand(L"G", L"one", L"UN", ACRX_CMD_MODAL, Second),
            Acad::eDuplicateKey);
  EXPECT_EQ(acedRegCmds->addCommand(L"g", L"TWO", L"eins", ACRX_CMD_MODAL, Second),
            Acad::eDuplicateKey);

  auto groups = host.CommandGroups();
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].commands.size(), 1u);
  EXPECT_EQ(groups[0].commands[0].globalName, L"ONE");
  EXPECT_EQ(groups[0].commands[0].localName, L"EINS");
}

TEST_F(CommandStackTest, TheGroupAddedLastWinsForANameInSeveralGroups) {
  minicad::Host host;
  ASSERT_EQ(acedRegCmds->addCommand(L"OLD", L"SAME", L"SAME", ACRX_CMD_MODAL, First), Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand(L"NEW", L"SAME", L"SAME", ACRX_CMD_MODAL, Second), Acad::eOk);

  host.RunScriptText(L"SAME\n");
  ASSERT_EQ(acedRegCmds->removeGroup(L"new"), Acad::eOk);
  host.RunScriptText(L"SAME\n");

  EXPECT_EQ(Events(), (Strings{L"second", L"first"}));
}

TEST_F(CommandStackTest, RemovingAGroupThatDoesNotExistFailsWithKeyNotFound) {
  minicad::Host host;
  ASSERT_EQ(acedRegCmds->addCommand(L"G", L"ONE", L"ONE", ACRX_CMD_MODAL, First), Acad::eOk);

  EXPECT_EQ(acedRegCmds->removeGroup(L"NOSUCHGROUP"), Acad::eKeyNotFound);
  EXPECT_EQ(acedRegCmds->removeGroup(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->removeGroup(L"G"), Acad::eOk);
  EXPECT_EQ(acedRegCmds->removeGroup(L"G"), Acad::eKeyNotFound);

  host.RunScriptText(L"ONE\n");
  EXPECT_TRUE(Events().empty());
  EXPECT_NE(host.ConsoleText().find(L"Unknown command \"ONE\""), std::wstring::npos);
}

TEST_F(CommandStackTest, NamesThatCannotBeTypedAreRefused) {
  minicad::Host host;

  for (const wchar_t* name : {L"", L"TWO WORDS", L"_UNDERSCORE", L".DOT", L"'QUOTE", L"TAB\t"}) {
    EXPECT_EQ(acedRegCmds->addCommand(L"G", name, name, ACRX_CMD_MODAL, First),
              Acad::eInvalidInput)
        << "name: " << testing::PrintToString(std::wstring(name));
  }
  EXPECT_EQ(acedRegCmds->addCommand(L"G", nullptr, L"X", ACRX_CMD_MODAL, First),
            Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand(nullptr, L"X", L"X", ACRX_CMD_MODAL, First),
            Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand(L"G", L"X", L"X", ACRX_CMD_MODAL, nullptr),
            Acad::eInvalidInput);
  EXPECT_TRUE(host.CommandGroups().empty());
}

}  // namespace
}  // namespace minicadtest
