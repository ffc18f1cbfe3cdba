// Server replies of any content: a reply that is no JSON object changes no list, and merging
// one keeps each list sorted and free of equal texts, each item knowing where it came from.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "fakes/fake_locale.h"
#include "ui/filter_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const nlohmann::json reply = nlohmann::json::parse(text, nullptr, false);
  platform::FakeLocale locale;
  FilterList list(locale);
  list.Add(L"Spooler");
  for (const char* member : {"file_white", "name_white", "name_black"}) MergeJSONArray(list, reply, member);
  if (!reply.is_object() && list.Count() != 1) __builtin_trap();
  for (int i = 1; i < list.Count(); ++i) {
    if (locale.CompareNoCase(list[i - 1], list[i]) >= 0) __builtin_trap();
  }
  for (int i = 0; i < list.Count(); ++i) {
    if ((list[i] == L"Spooler") != (list.OriginOf(i) == FilterList::Origin::BuiltIn)) __builtin_trap();
  }
  return 0;
}
