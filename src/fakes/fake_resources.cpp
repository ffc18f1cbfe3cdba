#include "fakes/fake_resources.h"

#include "support/text.h"

namespace platform {

bool FakeResources::ReadRcData(std::wstring_view name, std::string& bytes) {
  for (const auto& [itemName, data] : Items) {
    if (EqualsAsciiNoCase(itemName, name)) {
      bytes = data;
      return true;
    }
  }
  return false;
}

} // namespace platform
