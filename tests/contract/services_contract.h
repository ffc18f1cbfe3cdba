#pragma once
// One suite of service-manager behaviour that the fake and Windows must both show: the
// two-call buffer rules, access rights per handle, and what a change leaves behind. Each case
// works with a scratch service of its own, registered before and removed after.
#include <string>

#include <gtest/gtest.h>

#include "contract/target.h"

#include "platform/services.h"

// A service manager with the means to register and remove the scratch service.
class ServicesBed {
 public:
  virtual ~ServicesBed() = default;
  virtual platform::ServiceManager& Manager() = 0;
  // Registers an own-process service that starts on demand, replacing one of the same name.
  virtual void Add(const std::wstring& name, const std::wstring& display, const std::wstring& path) = 0;
  virtual void Remove(const std::wstring& name) = 0;
};

using ServicesTarget = ContractTarget<ServicesBed>;

class ServicesContract : public ::testing::TestWithParam<ServicesTarget> {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<ServicesBed> bed_;
  platform::ServiceManager* manager_ = nullptr;
};
