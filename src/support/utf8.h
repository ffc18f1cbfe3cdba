#pragma once
// UTF-8 at the program's edges: files, JSON, console output.
#include <string>
#include <string_view>

// A lone surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string Utf8FromWide(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
