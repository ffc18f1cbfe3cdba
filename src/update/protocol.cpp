#include "update/protocol.h"

#include <algorithm>
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

std::wstring NewUnionID(const std::function<std::optional<std::uint32_t>(std::uint32_t)>& random,
                        const std::function<LocalTime()>& now) {
  const std::optional<std::uint32_t> first = random(0x7FFFFFFF), middle = random(0xFFFF), last = random(0x7FFFFFFF);
  if (!first || !middle || !last) return {};
  std::wstring id;
  AppendHex(id, *first, 8);
  const LocalTime date = now();
  AppendTwoDigits(id, date.year % 100);
  AppendTwoDigits(id, date.month);
  AppendTwoDigits(id, date.day);
  AppendHex(id, *middle, 4);
  const LocalTime time = now();
  AppendTwoDigits(id, time.hour);
  AppendTwoDigits(id, time.minute);
  AppendTwoDigits(id, time.second);
  AppendHex(id, *last, 8);
  return id;
}

bool IsUnionID(std::wstring_view id) {
  // 'h' a hexadecimal digit of a random field, 'd' a decimal digit of the date or the time.
  constexpr std::wstring_view kLayout = L"hhhhhhhhddddddhhhhddddddhhhhhhhh";
  if (id.size() != kLayout.size()) return false;
  for (std::size_t i = 0; i < id.size(); ++i) {
    const wchar_t c = id[i];
    const bool digit = c >= L'0' && c <= L'9';
    if (!(digit || (kLayout[i] == L'h' && c >= L'A' && c <= L'F'))) return false;
  }
  return true;
}

std::wstring GetUnionID(platform::Registry& registry, const std::function<std::wstring()>& newId) {
  constexpr std::uint32_t kReadWrite = 0x2001F; // KEY_READ | KEY_WRITE
  constexpr std::wstring_view kKey = L"Software\\Veltrano", kValue = L"VelaUID";
  HKey opened = 0;
  if (registry.CreateKey(platform::kCurrentUser, kKey, kReadWrite, opened) != win::kErrorSuccess) return {};
  const RegKey key(opened, RegKeyCloser{&registry});
  const TReg reg(registry);
  if (registry.ReadValue(opened, kValue, nullptr, nullptr, nullptr) == win::kErrorFileNotFound) {
    if (const std::wstring id = newId(); IsUnionID(id)) reg.WriteString(platform::kCurrentUser, kKey, kValue, id);
  }
  // A value of another making is never sent: it could carry anything, line breaks included.
  std::wstring id = reg.ReadString(platform::kCurrentUser, kKey, kValue, L"");
  return IsUnionID(id) ? id : std::wstring();
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
  // A value with a line break or another control character would write headers of its own.
  platform::HttpHeaders sent = headers;
  for (auto& [name, value] : sent) {
    if (std::any_of(value.begin(), value.end(), [](wchar_t c) { return c < L' ' || c == 0x7F; })) value.clear();
  }
  std::string body;
  if (!http.Get(url, sent, body)) return false;
  reply = WideFromUtf8(body);
  return true;
}
