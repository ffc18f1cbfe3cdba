#pragma once
// Resources by name, as a test puts them in.
#include <string>
#include <utility>
#include <vector>

#include "platform/resources.h"

namespace platform {

class FakeResources final : public Resources {
 public:
  std::vector<std::pair<std::wstring, std::string>> Items;
  bool ReadRcData(std::wstring_view name, std::string& bytes) override;
};

} // namespace platform
