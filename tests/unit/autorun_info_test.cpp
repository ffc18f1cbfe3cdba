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
    TAutorunSource source;
  } cases[] = {
      {L"FILE", TAutorunSource::File},      {L"file", TAutorunSource::File},      {L"Sche", TAutorunSource::Task},
      {L"SERV", TAutorunSource::Service},   {L"serv", TAutorunSource::Service},   {L"HKLM", TAutorunSource::Registry},
      {L"HKCU", TAutorunSource::Registry},  {L"HKU", TAutorunSource::Registry},   {L"", TAutorunSource::Registry},
      {L"FILES", TAutorunSource::Registry}, {L"SERV ", TAutorunSource::Registry},
  };
  for (const auto& c : cases) EXPECT_EQ(SourceOfTag(c.from), c.source) << c.from;
}

} // namespace
