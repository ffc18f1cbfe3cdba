// The locale and resources contract against Windows, in the user locale this run was started
// with (TARNWICK_EXPECT_LANGUAGE names its language; English when unset).
#include <cstdlib>

#include "contract/locale_contract.h"
#include "windows/locale_win.h"
#include "windows/resources_win.h"

namespace {

std::wstring ExpectedLanguage() {
  const char* expected = std::getenv("TARNWICK_EXPECT_LANGUAGE");
  const std::string language(expected ? expected : "en");
  return std::wstring(language.begin(), language.end());
}

INSTANTIATE_TEST_SUITE_P(Win32, LocaleContract,
                         ::testing::Values(LocaleTarget{
                             "Win32", [] { return std::make_unique<platform::Win32Locale>(); },
                             [] { return std::make_unique<platform::Win32Resources>(); }, ExpectedLanguage()}),
                         [](const auto& info) { return info.param.name; });

} // namespace
