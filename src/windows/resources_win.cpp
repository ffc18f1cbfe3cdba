#include "windows/resources_win.h"

#include <windows.h>

namespace platform {

bool Win32Resources::ReadRcData(std::wstring_view name, std::string& bytes) {
  const HRSRC found = FindResourceW(nullptr, std::wstring(name).c_str(), RT_RCDATA);
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  bytes.assign(static_cast<const char*>(data), SizeofResource(nullptr, found));
  return true;
}

} // namespace platform
