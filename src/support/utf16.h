#pragma once
// UTF-16 little-endian bytes, as the registry stores text, to and from std::wstring (UTF-16 on
// Windows, UTF-32 on Linux).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Decodes whole code units; an odd trailing byte is dropped, a lone surrogate kept as it is.
std::wstring WideFromUtf16Le(std::span<const std::byte> bytes);
// Encodes without a terminating NUL.
std::vector<std::byte> Utf16LeFromWide(std::wstring_view text);
