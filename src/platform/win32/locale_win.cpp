#include "platform/win32/locale_win.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

std::uint32_t Win32Locale::GetUserDefaultLCID() { return ::GetUserDefaultLCID(); }

int Win32Locale::GetLocaleInfoW(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) {
  return ::GetLocaleInfoW(lcid, type, buffer.empty() ? nullptr : buffer.data(), static_cast<int>(buffer.size()));
}

int Win32Locale::CompareTextNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

std::wstring Win32Locale::UpperCase(std::wstring_view text) {
  if (text.empty()) return {};
  std::wstring upper(text.size(), L'\0');
  const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()),
                                  upper.data(), static_cast<int>(upper.size()));
  upper.resize(length > 0 ? length : 0);
  return length > 0 ? upper : std::wstring(text);
}

bool Win32Resources::LoadRcData(std::wstring_view name, std::string& bytes) {
  const HRSRC found = FindResourceW(nullptr, std::wstring(name).c_str(), RT_RCDATA);
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  bytes.assign(static_cast<const char*>(data), SizeofResource(nullptr, found));
  return true;
}

void Win32Shell::ShellOpen(std::wstring_view address) {
  ShellExecuteW(nullptr, L"open", std::wstring(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace platform
