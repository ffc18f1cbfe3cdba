// Catalogues of any texts: the saved list is UTF-8 with a mark, one CR LF line per entry, and
// reading it back gives the entries' texts whenever they hold no "|" and no line break.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "autorun/saved_list.h"
#include "support/utf16.h"
#include "support/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input as UTF-16 texts parted by NUL, three to an entry: From, Caption, Target.
  std::vector<std::wstring> texts(1);
  for (const wchar_t c : WideFromUtf16Le(std::as_bytes(std::span(data, size)))) {
    if (c == L'\0') {
      texts.emplace_back();
    } else {
      texts.back().push_back(c);
    }
  }
  AutorunList list;
  for (std::size_t i = 0; i + 2 < texts.size(); i += 3) {
    auto entry = std::make_unique<TAutorunInfo>();
    entry->From = texts[i];
    entry->Caption = texts[i + 1];
    entry->Target = texts[i + 2];
    list.push_back(std::move(entry));
  }
  const std::string saved = FormatSavedList(list);
  if (!saved.starts_with("\xEF\xBB\xBF")) __builtin_trap();
  if (Utf8FromWide(WideFromUtf8(saved)) != saved) __builtin_trap(); // valid UTF-8 throughout

  const std::wstring text = WideFromUtf8Text(saved);
  std::size_t start = 0;
  for (const auto& entry : list) {
    const std::wstring line = entry->From + L"|" + entry->Caption + L"|" + entry->Target;
    const std::wstring written = WideFromUtf8(Utf8FromWide(line)); // lone surrogates become U+FFFD
    if (text.compare(start, written.size() + 2, written + L"\r\n") != 0) __builtin_trap();
    start += written.size() + 2;
  }
  if (start != text.size()) __builtin_trap();
  return 0;
}
