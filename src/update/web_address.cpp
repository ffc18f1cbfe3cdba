#include "update/web_address.h"

#include "support/text.h"

bool IsWebAddress(std::wstring_view address) {
  for (const wchar_t c : address) {
    const auto u = static_cast<unsigned>(c);
    if (u <= 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F)) return false;
  }
  std::wstring_view rest;
  if (StartsWithAsciiNoCase(address, L"https://")) {
    rest = address.substr(8);
  } else if (StartsWithAsciiNoCase(address, L"http://")) {
    rest = address.substr(7);
  } else {
    return false;
  }
  // A host comes first: not empty, and no backslash anywhere (Windows reads it as a path).
  const std::size_t hostEnd = rest.find_first_of(L"/?#");
  return hostEnd != 0 && !rest.empty() && address.find(L'\\') == std::wstring_view::npos;
}
