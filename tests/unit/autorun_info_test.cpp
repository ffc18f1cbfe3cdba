#include <gtest/gtest.h>

#include "autorun/autorun_info.h"

namespace {

TEST(AutorunInfo, StartsEmptyAndDisabled) {
  const TAutorunInfo info;
  EXPECT_TRUE(info.FileName.empty() && info.Caption.empty() && info.RawData.empty() && info.Target.empty() &&
              info.From.empty());
  EXPECT_FALSE(info.Enabled);
}

TEST(AutorunInfo, TagsCompareWithoutCaseAndAnyOtherTagIsTheRegistry) {
  const struct {
    const wchar_t* from;
    AutorunSource source;
  } cases[] = {
      {L"FILE", AutorunSource::File},      {L"file", AutorunSource::File},      {L"Sche", AutorunSource::Task},
      {L"SERV", AutorunSource::Service},   {L"serv", AutorunSource::Service},   {L"HKLM", AutorunSource::Registry},
      {L"HKCU", AutorunSource::Registry},  {L"HKU", AutorunSource::Registry},   {L"", AutorunSource::Registry},
      {L"FILES", AutorunSource::Registry}, {L"SERV ", AutorunSource::Registry},
  };
  for (const auto& c : cases) EXPECT_EQ(SourceOfTag(c.from), c.source) << c.from;
}

} // namespace
