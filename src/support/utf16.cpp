#include "support/utf16.h"

#include <cstdint>

std::wstring WideFromUtf16Le(std::span<const std::byte> bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(std::to_integer<unsigned>(bytes[2 * i]) | std::to_integer<unsigned>(bytes[2 * i + 1])
                                                                               << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t u = unit(i);
    if constexpr (sizeof(wchar_t) == 2) {
      text.push_back(static_cast<wchar_t>(u));
    } else {
      if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
        const char16_t low = unit(i + 1);
        if (low >= 0xDC00 && low < 0xE000) {
          text.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
          ++i;
          continue;
        }
      }
      text.push_back(static_cast<wchar_t>(u));
    }
  }
  return text;
}

std::vector<std::byte> Utf16LeFromWide(std::wstring_view text) {
  std::vector<std::byte> bytes;
  bytes.reserve(text.size() * 2);
  auto put = [&](std::uint32_t u) {
    bytes.push_back(static_cast<std::byte>(u & 0xFF));
    bytes.push_back(static_cast<std::byte>(u >> 8 & 0xFF));
  };
  for (const wchar_t c : text) {
    const auto cp = static_cast<std::uint32_t>(c);
    if (cp > 0xFFFF) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return bytes;
}
