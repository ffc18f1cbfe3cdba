#pragma once
// What the system says of itself, as the fake and Windows (a 64-bit Windows 10 prefix) must
// both say it.
#include <string>

#include <gtest/gtest.h>

#include "contract/target.h"

#include "platform/system.h"

using SystemTarget = ContractTarget<platform::System>;

class SystemContract : public ::testing::TestWithParam<SystemTarget> {
 protected:
  void SetUp() override { system_ = GetParam().make(); }
  std::unique_ptr<platform::System> system_;
};
