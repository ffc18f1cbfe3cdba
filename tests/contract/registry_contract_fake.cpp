#include "contract/registry_contract.h"
#include "platform/fake/fake_registry.h"

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistryTarget{"Fake",
                                                          [] { return std::make_unique<platform::FakeRegistry>(); }}),
                         [](const auto& info) { return info.param.name; });
