// What the layer-mapping tests share: a host session for the wrapper's host calls and a
// headless UI driver that records the message boxes shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fw/HeadlessUiDriver.h"
#include "minicad/Host.h"

namespace layermaptest {

class HostSessionTest : public ::testing::Test {
 protected:
  HostSessionTest() { fw::SetUiDriver(&driver_); }
  ~HostSessionTest() override { fw::SetUiDriver(nullptr); }

  // The texts of every message box shown so far.
  std::vector<std::wstring> ShownTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& message : driver_.Messages()) texts.push_back(message.text);
    return texts;
  }

  fw::HeadlessUiDriver driver_;
  minicad::Host host_;
};

}  // namespace layermaptest
