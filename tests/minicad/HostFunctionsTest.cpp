// The host interface's free functions and the one Host they serve.
#include <gtest/gtest.h>

#include <stdexcept>

#include "HostTestSupport.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

class HostFunctionsTest : public HostTest {};

TEST_F(HostFunctionsTest, TheRegistryHoldsTheHostsServices) {
  {
    minicad::Host host;
    EXPECT_NE(acedRegCmds, nullptr);
    EXPECT_NE(acrxDynamicLinker, nullptr);
    EXPECT_NE(acedEditor, nullptr);
    EXPECT_NE(acDocManager, nullptr);
    EXPECT_EQ(acrxSysRegistry()->at(L"NoSuchService"), nullptr);
    EXPECT_EQ(acrxSysRegistry()->at(nullptr), nullptr);
    EXPECT_NE(adsw_acadMainWnd(), nullptr);
  }
  // Without a host the registry is empty rather than gone.
  EXPECT_EQ(acedRegCmds, nullptr);
  EXPECT_EQ(acDocManager, nullptr);
}

TEST_F(HostFunctionsTest, PrintingFollowsTheWidePrintfRules) {
  minicad::Host host;

  int printed = acutPrintf(L"%s has %d %S\n", L"Drawing1", 3, "layers");

  EXPECT_EQ(host.ConsoleText(), L"Drawing1 has 3 layers\n");
  EXPECT_EQ(printed, 22);
}

TEST_F(HostFunctionsTest, OnlyOneHostMayExistAtATime) {
  minicad::Host host;
  EXPECT_THROW(minicad::Host second, std::logic_error);
  EXPECT_EQ(minicad::Host::Current(), &host);
}

}  // namespace
}  // namespace minicadtest
