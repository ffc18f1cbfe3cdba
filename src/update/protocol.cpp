#include "update/protocol.h"

#include <cstdio>
#include <vector>

#include "support/reg.h"
#include "support/utf8.h"

std::wstring GetVersionText(std::wstring_view format, platform::FileInfo& info, std::wstring_view file) {
  std::uint64_t version = 0;
  const std::uint32_t size = info.ReadVersionSize(file);
  std::vector<std::byte> block(size);
  if (size == 0 || !info.ReadVersion(file, block) || !info.ReadFileVersion(block, version)) return L"0.0.0.0";
  wchar_t text[64];
  const int length = std::swprintf(text, std::size(text), std::wstring(format).c_str(),
                                   static_cast<unsigned>(version >> 48), static_cast<unsigned>(version >> 32 & 0xFFFF),
                                   static_cast<unsigned>(version >> 16 & 0xFFFF), static_cast<unsigned>(version & 0xFFFF));
  return length < 0 ? L"0.0.0.0" : std::wstring(text, static_cast<std::size_t>(length));
}

namespace {

void AppendHex(std::wstring& text, std::uint32_t value, int digits) {
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[value >> shift & 0xF];
}

void AppendTwoDigits(std::wstring& text, int value) {
  text += static_cast<wchar_t>(L'0' + value / 10 % 10);
  text += static_cast<wchar_t>(L'0' + value % 10);
}

} // namespace

std::wstring NewUnionID(const std::function<std::uint32_t(std::uint32_t)>& random, const std::function<LocalTime()>& now) {
  std::wstring id;
  AppendHex(id, random(0x7FFFFFFF), 8);
  const LocalTime date = now();
  AppendTwoDigits(id, date.year % 100);
  AppendTwoDigits(id, date.month);
  AppendTwoDigits(id, date.day);
  AppendHex(id, random(0xFFFF), 4);
  const LocalTime time = now();
  AppendTwoDigits(id, time.hour);
  AppendTwoDigits(id, time.minute);
  AppendTwoDigits(id, time.second);
  AppendHex(id, random(0x7FFFFFFF), 8);
  return id;
}

std::wstring GetUnionID(platform::Registry& registry, const std::function<std::wstring()>& newId) {
  constexpr std::uint32_t kReadWrite = 0x2001F; // KEY_READ | KEY_WRITE
  constexpr std::wstring_view kKey = L"Software\\Veltrano", kValue = L"VelaUID";
  HKey opened = 0;
  if (registry.CreateKey(platform::kCurrentUser, kKey, kReadWrite, opened) != win::kErrorSuccess) return {};
  const RegKey key(opened, RegKeyCloser{&registry});
  const TReg reg(registry);
  if (registry.ReadValue(opened, kValue, nullptr, nullptr, nullptr) == win::kErrorFileNotFound) {
    reg.WriteString(platform::kCurrentUser, kKey, kValue, newId());
  }
  return reg.ReadString(platform::kCurrentUser, kKey, kValue, L"");
}

platform::HttpHeaders RequestHeaders(const Identity& identity) {
  return {{L"User-Version", identity.version()},
          {L"User-Language", identity.language},
          {L"User-Debug", identity.debug ? L"true" : L"false"},
          {L"User-Union", identity.unionId()}};
}

platform::HttpHeaders HoldHeaders(const Identity& identity) {
  return {{L"User-Version", identity.version()}, {L"User-Command", L"hold"}};
}

bool HttpGet(platform::Http& http, std::wstring_view url, const platform::HttpHeaders& headers, std::wstring& reply) {
  std::string body;
  if (!http.Get(url, headers, body)) return false;
  reply = WideFromUtf8(body);
  return true;
}
