// The contract suites against the fakes.
#include "common/resource_files.h"
#include "contract/locale_contract.h"
#include "contract/registry_contract.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_registry.h"

namespace {

auto Name = [](const auto& info) { return info.param.name; };

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistryTarget{"Fake",
                                                          [] { return std::make_unique<platform::FakeRegistry>(); }}),
                         Name);

LocaleTarget FakeLocaleIn(std::string name, std::wstring language) {
  return LocaleTarget{
      std::move(name),
      [language] {
        auto locale = std::make_unique<platform::FakeLocale>();
        locale->Language = language;
        return locale;
      },
      [] {
        auto resources = std::make_unique<platform::FakeResources>();
        AddProgramResources(*resources);
        return resources;
      },
      language};
}
INSTANTIATE_TEST_SUITE_P(Fake, LocaleContract,
                         ::testing::Values(FakeLocaleIn("English", L"en"), FakeLocaleIn("Korean", L"ko")), Name);

} // namespace
