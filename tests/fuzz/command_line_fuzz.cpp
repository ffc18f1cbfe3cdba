// Command lines of any shape: extracting the program file never crashes, hangs or grows text.
#include <cstddef>
#include <cstdint>
#include <span>

#include "support/path.h"
#include "support/utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FolderTokens tokens = {
      {L"%ProgramFiles%", L"C:\\Program Files"},
      {L"%AppData%", L"C:\\Users\\Ann\\AppData\\Roaming"},
      {L"%Public%", L""}, // a folder the system could not give
  };
  // Any sequence of UTF-16 code units, lone surrogates and controls included.
  const std::wstring text = WideFromUtf16Le(std::as_bytes(std::span(data, size)));
  std::wstring fileName, params;
  SplitCommandLine(text, fileName, params);
  if (fileName.size() + params.size() > text.size()) __builtin_trap();
  const std::wstring target = ExtractCommandFileName(tokens, text);
  if (target.size() > text.size() + 32) __builtin_trap(); // one token expanded at most
  return 0;
}
