#pragma once
// Raw bytes as tests write them: registry data and StartupApproved values.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "support/utf16.h"

inline std::vector<std::byte> Bytes(std::initializer_list<int> values) {
  std::vector<std::byte> bytes;
  for (const int v : values) bytes.push_back(static_cast<std::byte>(v));
  return bytes;
}

// UTF-16LE text as the registry holds it, with its NUL unless told otherwise.
inline std::vector<std::byte> Text16(std::wstring_view text, bool nul = true) {
  std::vector<std::byte> bytes = Utf16LeFromWide(text);
  if (nul) bytes.insert(bytes.end(), 2, std::byte{0});
  return bytes;
}

// A 12-byte StartupApproved value: `state`, three zeros, `time` low byte first.
inline std::vector<std::byte> ApprovedValue(int state, std::uint64_t time) {
  std::vector<std::byte> value = Bytes({state, 0, 0, 0});
  for (int i = 0; i < 8; ++i) value.push_back(static_cast<std::byte>(time >> (8 * i)));
  return value;
}
