#pragma once
// Both programs run elevated: a DLL found in the program's own folder would run with
// administrator rights. Only the system's known DLLs are imported; every other one is loaded
// here, from System32 by its full path.
#include <windows.h>

#include "support/unique_resource.h"

namespace platform {

// Restricts the DLL search of this process to System32; the first call of each entry.
void RestrictDllSearchToSystem32();

class SystemDll {
 public:
  // Loads System32\`name`; a DLL that is missing leaves every function null.
  explicit SystemDll(const wchar_t* name);

  // The function `name` as the type `F`, or null.
  template <typename F>
  F* Function(const char* name) const {
    return module_ ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name))) : nullptr;
  }

 private:
  struct Free {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  UniqueResource<HMODULE, Free, nullptr> module_;
};

} // namespace platform
