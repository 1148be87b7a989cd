// Binding an exported function of another module by name: `dllbase` holds the module handle and the
// resolved address; `dll1` and `dll6` call functions of one and of six arguments.
#pragma once

#include <string>

#include "fw/Module.h"

namespace dll::stdcall {

class dllbase {
 public:
  // With `load` set, maps `moduleFile` (a path) and releases it again at destruction; with it
  // clear, only looks up a module of that file name already loaded in the process (see
  // fw::FindLoadedModule) and keeps no reference to it. Then looks up `functionName`, in the
  // system's narrow code page.
  dllbase(bool load, const std::wstring& moduleFile, const std::wstring& functionName);
  ~dllbase();
  dllbase(const dllbase&) = delete;
  dllbase& operator=(const dllbase&) = delete;

  // An address was found.
  bool IsBound() const { return address_ != nullptr; }
  explicit operator bool() const { return IsBound(); }

 protected:
  void* Address() const { return address_; }

 private:
  fw::HINSTANCE module_ = nullptr;
  bool loaded_ = false;
  void* address_ = nullptr;
};

// A function of one argument; calling it unbound is the caller's fault, as calling a null function
// pointer would be.
template <typename Result, typename A1>
class dll1 : public dllbase {
 public:
  using dllbase::dllbase;
  Result operator()(A1 a1) const {
    return reinterpret_cast<Result (*)(A1)>(Address())(static_cast<A1&&>(a1));
  }
};

// A function of six arguments, passed on unchanged.
template <typename Result, typename A1, typename A2, typename A3, typename A4, typename A5,
          typename A6>
class dll6 : public dllbase {
 public:
  using dllbase::dllbase;
  Result operator()(A1 a1, A2 a2, A3 a3, A4 a4, A5 a5, A6 a6) const {
    return reinterpret_cast<Result (*)(A1, A2, A3, A4, A5, A6)>(Address())(
        static_cast<A1&&>(a1), static_cast<A2&&>(a2), static_cast<A3&&>(a3), static_cast<A4&&>(a4),
        static_cast<A5&&>(a5), static_cast<A6&&>(a6));
  }
};

}  // namespace dll::stdcall
