#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fake_file_info.h"
#include "fakes/fake_files.h"
#include "fakes/fake_image_list.h"
#include "support/version_info.h"
#include "ui/icon_cache.h"

namespace {

using namespace platform;

class FileInformation : public ::testing::Test {
 protected:
  FileInformation() {
    files.AddFolder(L"C:\\App");
    files.AddFile(L"C:\\App\\app.exe");
    files.AddFile(L"C:\\App\\plain.txt");
    info.Versions[L"C:\\App\\app.exe"] = {{{0x0412, 0x04B0}, {0x0409, 0x04E4}},
                                          {{L"\\StringFileInfo\\041204B0\\ProductName", L"첫 제품"},
                                           {L"\\StringFileInfo\\040904E4\\ProductName", L"Second"},
                                           {L"\\StringFileInfo\\040904E4\\CompanyName", L"Second Company"}}};
    info.IconCounts[L"C:\\App\\app.exe"] = 4;
  }
  int Icon(std::wstring_view location, int defaultIndex = 7) {
    return GetFileIconIndex(files, info, cache, images, location, defaultIndex);
  }

  FakeFileSystem files;
  FakeFileInfo info;
  IconCache cache;
  FakeImageList images;
};

TEST_F(FileInformation, VersionStringsComeFromTheFirstLanguageOnly) {
  std::map<std::wstring, std::wstring> values;
  EXPECT_EQ(GetFileVersionStrings(files, info, L"C:\\App\\app.exe", {L"ProductName", L"CompanyName"}, values), 1);
  EXPECT_EQ(values, (std::map<std::wstring, std::wstring>{{L"ProductName", L"첫 제품"}}))
      << "the second block is never tried";

  info.Versions[L"C:\\App\\app.exe"].Translations = {{0x0409, 0x04E4}};
  values.clear();
  EXPECT_EQ(GetFileVersionStrings(files, info, L"C:\\App\\app.exe", {L"ProductName", L"CompanyName"}, values), 2);
  EXPECT_EQ(values[L"CompanyName"], L"Second Company") << "queried below \\StringFileInfo\\040904E4\\";

  values = {{L"Kept", L"x"}};
  EXPECT_EQ(GetFileVersionStrings(files, info, L"C:\\App\\plain.txt", {L"ProductName"}, values), 0);
  EXPECT_EQ(GetFileVersionStrings(files, info, L"C:\\Missing.exe", {L"ProductName"}, values), 0);
  info.Versions[L"C:\\App\\app.exe"].Translations.clear();
  EXPECT_EQ(GetFileVersionStrings(files, info, L"C:\\App\\app.exe", {L"ProductName"}, values), 0);
  EXPECT_EQ(values.size(), 1u) << "nothing added when there is nothing to read";

  info.Versions[L"C:\\App\\app.exe"].Translations = {{0x0409, 0x04E4}};
  values = {{L"ProductName", L"already"}};
  EXPECT_THROW(GetFileVersionStrings(files, info, L"C:\\App\\app.exe", {L"ProductName"}, values),
               std::invalid_argument);
}

TEST_F(FileInformation, IconLocationsAreParsedAndCachedWhole) {
  const struct {
    const wchar_t* location;
    int index;
    std::uint16_t extracted; // icon number handed to the system
  } cases[] = {
      {L"C:\\App\\app.exe", 0, 0},
      {L"\"C:\\App\\app.exe\",3", 1, 3},
      {L"C:\\App\\app.exe , $2", 2, 2},
      {L"C:\\App\\app.exe,0x1", 3, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Icon(c.location), c.index) << c.location;
    EXPECT_EQ(info.Extracted.back(), (std::pair<std::wstring, std::uint16_t>{L"C:\\App\\app.exe", c.extracted}));
  }
  EXPECT_EQ(images.Names, (std::vector<std::wstring>{L"C:\\App\\app.exe", L"C:\\App\\app.exe,3",
                                                     L"C:\\App\\app.exe , $2", L"C:\\App\\app.exe,0x1"}));
  const std::size_t extractions = info.Extracted.size();
  EXPECT_EQ(Icon(L"C:\\App\\app.exe,3"), 1);
  EXPECT_EQ(Icon(L"  \"C:\\App\\app.exe,3\"  "), 1) << "quotes and blanks removed before the cache";
  EXPECT_EQ(info.Extracted.size(), extractions) << "served from the cache";
  EXPECT_EQ(info.LiveIcons, 0) << "every extracted icon is destroyed";
}

TEST_F(FileInformation, IconFallbacks) {
  EXPECT_EQ(Icon(L""), 7) << "empty location";
  EXPECT_EQ(Icon(L" \"\" "), 7);
  EXPECT_EQ(Icon(L"C:\\Missing.exe"), 0) << "missing file";
  EXPECT_EQ(Icon(L"C:\\App\\plain.txt"), 0) << "no icon";
  EXPECT_EQ(Icon(L"C:\\App\\plain.txt"), 0);
  EXPECT_EQ(std::count(info.Extracted.begin(), info.Extracted.end(),
                       std::pair<std::wstring, std::uint16_t>{L"C:\\App\\plain.txt", 0}),
            2)
      << "a location without an icon is not cached";
  EXPECT_EQ(Icon(L"C:\\App\\app.exe,abc", 2), 0) << "not a number: the default is the icon number";
  EXPECT_EQ(info.Extracted.back().second, 2);
  Icon(L"C:\\App\\app.exe,-1");
  EXPECT_EQ(info.Extracted.back().second, 0xFFFF) << "reduced to 16 bits";
  Icon(L"C:\\App\\app.exe,70000");
  EXPECT_EQ(info.Extracted.back().second, 70000 & 0xFFFF);
  Icon(L"C:\\App\\app.exe,+3");
  EXPECT_EQ(info.Extracted.back().second, 3);
  Icon(L"C:\\App\\app.exe,$FFFFFFFF");
  EXPECT_EQ(info.Extracted.back().second, 0xFFFF);
  Icon(L"C:\\App\\app.exe,2147483648", 5);
  EXPECT_EQ(info.Extracted.back().second, 5) << "beyond a 32-bit number: the default";
  images.Full = true;
  EXPECT_EQ(Icon(L"C:\\App\\app.exe,1"), 7) << "the image cannot be added";
  EXPECT_FALSE(cache.contains(L"C:\\App\\app.exe,1"));
  EXPECT_EQ(info.LiveIcons, 0);
}

} // namespace
