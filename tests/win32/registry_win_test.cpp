#include "contract/registry_contract.h"
#include "windows/registry_win.h"
#include "wine.h"

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryTarget{
                             "Win32", [] { return std::make_unique<platform::Win32Registry>(); }, OnWine(),
                             sizeof(void*) == 8}),
                         [](const auto& info) { return info.param.name; });
