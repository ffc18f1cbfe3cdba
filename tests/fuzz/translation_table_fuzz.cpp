// Translation tables of any shape: reading one and looking texts up in it never crashes or
// hangs, and every answer is the text itself or a cell of the table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_locale.h"
#include "fakes/fake_resources.h"
#include "support/utf8.h"
#include "translate/translate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  platform::FakeResources resources;
  resources.Items = {{L"translate", bytes}};
  platform::FakeLocale locale;
  locale.Language = L"ja";
  const Translation t(resources, locale);
  // Each cell of the table, and a text of no row, in a language of the table and in one without.
  const std::wstring text = WideFromUtf8Text(bytes);
  for (const std::wstring& line : t.TranslateTable) {
    const std::wstring value = line.substr(line.find(L'=') + 1);
    for (const wchar_t* lang : {L"", L"ko", L"en", L"xx"}) {
      const std::wstring translated = t.Translate(value, lang);
      if (translated.size() > text.size() + value.size()) __builtin_trap(); // a cell or the text itself
    }
  }
  if (!t.Translate(L"").empty()) __builtin_trap();
  return 0;
}
