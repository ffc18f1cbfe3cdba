#include <windows.h>

#include "contract/registry_contract.h"
#include "platform/win32/registry_win.h"

namespace {

bool OnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

} // namespace

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryTarget{
                             "Win32", [] { return std::make_unique<platform::Win32Registry>(); }, OnWine()}),
                         [](const auto& info) { return info.param.name; });
