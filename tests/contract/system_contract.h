#pragma once
// What the system says of itself, as the fake and Windows (a 64-bit Windows 10 prefix) must
// both say it.
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/system.h"

struct SystemTarget {
  std::string name;
  std::function<std::unique_ptr<platform::System>()> make;
};

inline std::string PrintToString(const SystemTarget& target) { return target.name; }

class SystemContract : public ::testing::TestWithParam<SystemTarget> {
 protected:
  void SetUp() override { system_ = GetParam().make(); }
  std::unique_ptr<platform::System> system_;
};
