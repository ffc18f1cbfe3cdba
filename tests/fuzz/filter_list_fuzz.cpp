// Built-in lists of any content: loading one keeps the list sorted and free of equal texts, and
// matching against it never crashes or hangs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_locale.h"
#include "fakes/fake_resources.h"
#include "support/utf8.h"
#include "ui/filter_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  platform::FakeResources resources;
  resources.Items = {{L"NAME_WHITE", bytes}};
  platform::FakeLocale locale;
  FilterList list(locale);
  LoadListFromResource(resources, list, L"name_white");
  for (int i = 1; i < list.Count(); ++i) {
    if (locale.CompareNoCase(list[i - 1], list[i]) >= 0) __builtin_trap(); // sorted, no two equal
  }
  static const FolderTokens tokens = {{L"%ProgramFiles%", L"C:\\Program Files"}, {L"%Public%", L""}};
  const std::wstring text = WideFromUtf8Text(bytes);
  for (const bool fileMode : {false, true}) {
    IsListed(list, tokens, text, fileMode);
    IsListed(list, tokens, L"C:\\Program Files\\App\\app.exe", fileMode);
  }
  return 0;
}
