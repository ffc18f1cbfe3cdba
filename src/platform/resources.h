#pragma once
// The program's own resources.
#include <string>
#include <string_view>

namespace platform {

class Resources {
 public:
  virtual ~Resources() = default;
  // The bytes of the RCDATA resource `name` of the program's own module (names compare
  // without regard to case); false when there is none.
  virtual bool ReadRcData(std::wstring_view name, std::string& bytes) = 0;
};

} // namespace platform
