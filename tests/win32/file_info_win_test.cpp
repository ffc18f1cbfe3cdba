#include <gtest/gtest.h>

#include <windows.h>

#include "support/version_info.h"
#include "ui/icon_cache.h"
#include "windows/file_info_win.h"
#include "windows/files_win.h"
#include "windows/image_list_win.h"

namespace {

// The resource-only DLLs built beside this program.
std::wstring Fixture(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.rfind(L'\\')) + L"\\fixtures\\" + name;
}

// The colour of the middle pixel of an image of the list, as 0xRRGGBB.
COLORREF MiddleColour(HIMAGELIST list, int index) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  const COLORREF colour = GetPixel(dc, 8, 8);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
}

class Win32FileInformation : public ::testing::Test {
 protected:
  platform::Win32FileSystem files;
  platform::Win32FileInfo info;
};

TEST_F(Win32FileInformation, VersionStringsOfTheFirstTranslationOnly) {
  std::map<std::wstring, std::wstring> values;
  EXPECT_EQ(GetFileVersionStrings(files, info, Fixture(L"versions.dll"),
                                  {L"ProductName", L"CompanyName", L"FileDescription"}, values),
            2);
  EXPECT_EQ(values, (std::map<std::wstring, std::wstring>{{L"ProductName", L"첫 제품"}, {L"CompanyName", L"첫 회사"}}));

  values.clear();
  EXPECT_EQ(GetFileVersionStrings(files, info, Fixture(L"version1252.dll"), {L"ProductName", L"CompanyName"}, values),
            1);
  EXPECT_EQ(values[L"ProductName"], L"Fixture Product") << "found below \\StringFileInfo\\040904E4\\";

  values.clear();
  EXPECT_EQ(GetFileVersionStrings(files, info, Fixture(L"icons.dll"), {L"ProductName"}, values), 0) << "no version";
  EXPECT_EQ(GetFileVersionStrings(files, info, Fixture(L"missing.dll"), {L"ProductName"}, values), 0);
  EXPECT_TRUE(values.empty());
}

TEST_F(Win32FileInformation, IconsAreTakenByNumberAndCachedByLocation) {
  platform::Win32ImageList images(16, 16);
  IconCache cache;
  const std::wstring icons = Fixture(L"icons.dll");
  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, L"\"" + icons + L"\",2", 9), 0);
  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, icons, 9), 1) << "without a number: extracted again";
  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, icons + L",$1", 9), 2);
  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, icons + L",2", 9), 0) << "cached";
  ASSERT_EQ(images.Count(), 3);
  EXPECT_EQ(MiddleColour(images.Handle(), 0), 0x0000FFu) << "icon 2 is the blue one";
  EXPECT_EQ(MiddleColour(images.Handle(), 1), 0xFF0000u) << "icon 0 is the red one";
  EXPECT_EQ(MiddleColour(images.Handle(), 2), 0x00FF00u) << "icon 1 is the green one";

  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, Fixture(L"missing.dll"), 9), 0);
  EXPECT_EQ(GetFileIconIndex(files, info, cache, images, L"", 9), 9);
  EXPECT_EQ(images.Count(), 3);
}

} // namespace
