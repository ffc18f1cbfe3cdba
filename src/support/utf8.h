#pragma once
// UTF-8 at the program's edges: files, JSON, console output.
#include <string>
#include <string_view>
#include <vector>

// A lone surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string Utf8FromWide(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

// UTF-8 bytes of a text file or resource: a leading byte-order mark is skipped.
std::wstring WideFromUtf8Text(std::string_view bytes);
// Lines ended by CR LF, a lone CR or a lone LF; a break at the very end adds no empty line.
std::vector<std::wstring> SplitLines(std::wstring_view text);
