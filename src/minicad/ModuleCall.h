// The boundary between the host and module code: a C++ exception that escapes a module's entry
// point, command or reactor must not unwind through the host, so each call goes through here.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "fw/Strings.h"
#include "minicad/Console.h"

namespace minicad {

// Runs `code`. When an exception escapes it, prints a line naming `what` (such as
// `command "QUORVA"`) and the exception's text, and returns false.
template <typename Code>
bool CallModuleCode(Console& console, std::wstring_view what, Code&& code) {
  std::wstring reason;
  try {
    code();
    return true;
  } catch (const std::exception& error) {
    reason = fw::FromUtf8(error.what());
  } catch (...) {
    reason = L"an exception of unknown type";
  }
  console.Write(L"\n" + std::wstring(what) + L" stopped: " + reason + L"\n");
  return false;
}

}  // namespace minicad
