// Module handles of the test program and of the framework library, and the module state.
#include "fw/Module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace {

int FunctionOfTheProgram() { return 1; }
int dataOfTheProgram = 2;

std::wstring ProgramPath() {
  char* resolved = realpath("/proc/self/exe", nullptr);
  std::wstring path = resolved != nullptr ? fw::FromNativePath(resolved) : L"";
  std::free(resolved);
  return path;
}

TEST(Module, FindsTheProgramThatHoldsAFunction) {
  fw::HINSTANCE program = fw::ModuleFromAddress(reinterpret_cast<void*>(&FunctionOfTheProgram));
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(fw::ModuleFromAddress(&dataOfTheProgram), program);
  EXPECT_EQ(fw::GetModuleFileName(program), ProgramPath());
}

TEST(Module, FindsTheSharedLibraryThatHoldsAFunction) {
  fw::HINSTANCE library = fw::ModuleFromAddress(reinterpret_cast<void*>(&fw::FromUtf8));
  ASSERT_NE(library, nullptr);
  EXPECT_NE(library, fw::ModuleFromAddress(reinterpret_cast<void*>(&FunctionOfTheProgram)));
  std::wstring path = fw::GetModuleFileName(library);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), L'/');
  EXPECT_TRUE(path.ends_with(L"libfw.so")) << fw::ToUtf8(path);
  EXPECT_TRUE(fw::PathExists(path));
}

TEST(Module, KnowsNoModuleForNullOrHeapAddressesOrNonHandles) {
  auto heap = std::make_unique<int>(3);
  EXPECT_EQ(fw::ModuleFromAddress(nullptr), nullptr);
  EXPECT_EQ(fw::ModuleFromAddress(heap.get()), nullptr);
  EXPECT_EQ(fw::GetModuleFileName(nullptr), L"");
  auto* program =
      static_cast<char*>(fw::ModuleFromAddress(reinterpret_cast<void*>(&FunctionOfTheProgram)));
  EXPECT_EQ(fw::GetModuleFileName(program + 16), L"");
}

TEST(ModuleStateScope, SetsTheResourceModuleOfItsThreadAndRestoresIt) {
  int first = 0;
  int second = 0;
  EXPECT_EQ(fw::CurrentResourceModule(), nullptr);
  {
    fw::ModuleStateScope outer(&first);
    EXPECT_EQ(fw::CurrentResourceModule(), &first);
    {
      fw::ModuleStateScope inner(&second);
      EXPECT_EQ(fw::CurrentResourceModule(), &second);
      fw::HINSTANCE seenElsewhere = &first;
      std::thread other([&] { seenElsewhere = fw::CurrentResourceModule(); });
      other.join();
      EXPECT_EQ(seenElsewhere, nullptr);
    }
    EXPECT_EQ(fw::CurrentResourceModule(), &first);
  }
  EXPECT_EQ(fw::CurrentResourceModule(), nullptr);
}

TEST(ExtensionModule, RegistersUntilTerminated) {
  int moduleA = 0;
  int moduleB = 0;
  fw::ExtensionModule recordA;
  fw::ExtensionModule recordB;
  EXPECT_FALSE(fw::InitExtensionModule(recordA, nullptr));
  EXPECT_FALSE(recordA.initialized);
  ASSERT_TRUE(fw::InitExtensionModule(recordA, &moduleA));
  EXPECT_TRUE(fw::InitExtensionModule(recordA, &moduleA));
  EXPECT_FALSE(fw::InitExtensionModule(recordA, &moduleB));
  ASSERT_TRUE(fw::InitExtensionModule(recordB, &moduleB));
  EXPECT_TRUE(recordB.initialized);
  EXPECT_EQ(recordB.module, &moduleB);
  EXPECT_EQ(fw::RegisteredExtensionModules(),
            (std::vector<fw::HINSTANCE>{&moduleA, &moduleB}));

  fw::TermExtensionModule(recordA);
  EXPECT_FALSE(recordA.initialized);
  EXPECT_EQ(fw::RegisteredExtensionModules(), std::vector<fw::HINSTANCE>{&moduleB});
  fw::TermExtensionModule(recordA);
  fw::TermExtensionModule(recordB);
  EXPECT_TRUE(fw::RegisteredExtensionModules().empty());
}

}  // namespace
