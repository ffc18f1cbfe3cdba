#pragma once
// One suite of registry behaviour that the fake and the real registry must both show. Each case
// works under a scratch key of its own, cleared before and after.
#include <string>

#include <gtest/gtest.h>

#include "contract/target.h"

#include "platform/registry.h"
#include "support/reg.h"

using RegistryTarget = ContractTarget<platform::Registry>;

class RegistryContract : public ::testing::TestWithParam<RegistryTarget> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets a value with raw type and bytes, bypassing TReg.
  void SetRaw(HKey root, const std::wstring& key, const std::wstring& name, std::uint32_t type,
              std::span<const std::byte> data);
  // A value's raw type and bytes; false when it is missing.
  bool GetRaw(HKey root, const std::wstring& key, const std::wstring& name, std::uint32_t& type,
              std::vector<std::byte>& data);
  // Whether root\key opens with the given access.
  bool Opens(HKey root, const std::wstring& key, std::uint32_t access);

  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<TReg> reg_;
  std::wstring scratch_; // Software\TarnwickTest\<case>, under HKCU and HKLM
};
