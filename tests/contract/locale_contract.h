#pragma once
// The user's locale and the program's own resources, as the fakes and Windows must both give
// them: case rules of the locale, the user's language, and the built-in lists and translation
// table read from the program's resources.
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/locale.h"
#include "platform/resources.h"

struct LocaleTarget {
  std::string name;
  std::function<std::unique_ptr<platform::Locale>()> makeLocale;
  std::function<std::unique_ptr<platform::Resources>()> makeResources;
  std::wstring language; // the user's language this run expects
};

inline std::string PrintToString(const LocaleTarget& target) { return target.name; }

class LocaleContract : public ::testing::TestWithParam<LocaleTarget> {
 protected:
  void SetUp() override {
    locale_ = GetParam().makeLocale();
    resources_ = GetParam().makeResources();
  }
  std::unique_ptr<platform::Locale> locale_;
  std::unique_ptr<platform::Resources> resources_;
};
