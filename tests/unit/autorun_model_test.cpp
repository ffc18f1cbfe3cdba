#include <gtest/gtest.h>

#include "autorun/fake_catalogue.h"
#include "fakes/fake_file_info.h"
#include "fakes/fake_files.h"
#include "fakes/fake_image_list.h"
#include "fakes/fake_locale.h"
#include "ui/autorun_model.h"

namespace {

using namespace platform;

class AutorunModel : public ::testing::Test {
 protected:
  AutorunModel() {
    for (const wchar_t* name : {L"Audiosrv", L"cbdhsvc_", L"Vendor Task"}) nameWhite.Add(name);
    fileWhite.Add(L"skipme.lnk*");
    files.AddFolder(L"C:\\App");
    files.AddFile(L"C:\\App\\app.exe");
    files.AddFile(L"C:\\App\\plain.exe");
    info.Versions[L"C:\\App\\app.exe"] = {{{0x0409, 0x04B0}},
                                          {{L"\\StringFileInfo\\040904B0\\ProductName", L"App Pro"}}};
    info.IconCounts[L"C:\\App\\app.exe"] = 1;
    images.Names = {L"0", L"1", L"2", L"3"}; // the stored images come first
  }
  // name|tag|state|image of every row
  std::vector<std::wstring> Rows(bool all = false) {
    model.LoadAutorun(all);
    model.ResolveAll();
    std::vector<std::wstring> rows;
    for (const TAutorunItem& r : model.Rows()) {
      rows.push_back(r.FileName + L"|" + r.From + (r.Enabled ? L"|on|" : L"|off|") + std::to_wstring(r.Icon));
    }
    return rows;
  }

  FakeLocale locale;
  FakeFileSystem files;
  FakeFileInfo info;
  FakeImageList images;
  FakeCatalogue catalogue;
  FilterList fileWhite{locale}, nameWhite{locale};
  const FolderTokens tokens;
  TAutorunModel model{catalogue, files, info, images, tokens, fileWhite, nameWhite};
};

TEST_F(AutorunModel, FiltersNamesAndImagesByKind) {
  catalogue.Add(L"HKLM", L"AppValue", L"HKLM\\Software\\Run\\AppValue", true, L"C:\\App\\app.exe");
  catalogue.Add(L"HKCU", L"Plain", L"HKCU\\Software\\Run\\Plain", true, L"C:\\App\\plain.exe");
  catalogue.Add(L"HKCU", L"Gone", L"HKCU\\Software\\Run\\Gone", true, L"C:\\Missing.exe");
  catalogue.Add(L"HKCU", L"NoFile", L"HKCU\\Software\\Run\\NoFile", true, L"");
  catalogue.Add(L"HKCU", L"Audiosrv helper", L"HKCU\\Software\\Run\\Audiosrv helper", true, L"C:\\App\\app.exe");
  catalogue.Add(L"file", L"Tool", L"C:\\Startup\\Tool.lnk", true, L"C:\\App\\app.exe");
  catalogue.Add(L"FILE", L"skipme", L"C:\\Startup\\SKIPME.LNK", true, L"C:\\Startup\\SKIPME.LNK");
  catalogue.Add(L"SCHE", L"Update", L"\\Update");
  catalogue.Add(L"SCHE", L"Vendor Task 2", L"\\Vendor Task 2");
  catalogue.Add(L"SERV", L"Windows Audio", L"Audiosrv");
  catalogue.Add(L"SERV", L"Clipboard", L"cbdhsvc_1a2b3");
  catalogue.Add(L"SERV", L"Spooler", L"Spooler", false);
  catalogue.Add(L"SERV", L"", L"Nameless");
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"App Pro|HKLM|on|4", L"Plain|HKCU|on|0", L"Gone|HKCU|on|0",
                                               L"NoFile|HKCU|on|1", L"App Pro|file|on|4", L"Update|SCHE|on|2"}));
  EXPECT_EQ(images.Names, (std::vector<std::wstring>{L"0", L"1", L"2", L"3", L"C:\\App\\app.exe"}))
      << "one extraction per icon location";

  model.Clear();
  EXPECT_EQ(Rows(true).back(), L"Spooler|SERV|off|3") << "disabled entries only with All Programs";
  EXPECT_EQ(model.ListAutoObj().size(), catalogue.Entries.size()) << "the catalogue keeps every entry";
}

TEST_F(AutorunModel, ARowReadsItsFileOnlyWhenShown) {
  catalogue.Add(L"HKLM", L"AppValue", L"HKLM\\Software\\Run\\AppValue", true, L"C:\\App\\app.exe");
  catalogue.Add(L"FILE", L"Tool", L"C:\\Startup\\Tool.lnk", true, L"C:\\App\\app.exe");
  catalogue.Add(L"HKCU", L"Plain", L"HKCU\\Software\\Run\\Plain", true, L"C:\\App\\plain.exe");
  catalogue.Add(L"SERV", L"Spooler", L"Spooler");
  model.LoadAutorun(false);
  ASSERT_EQ(model.Rows().size(), 4u);
  EXPECT_EQ(model.Rows()[0].FileName, L"AppValue") << "the caption until shown";
  EXPECT_EQ(model.Rows()[0].Icon, kImageNoIcon) << "and the blank page";
  EXPECT_TRUE(info.VersionReads.empty());
  EXPECT_TRUE(info.Extracted.empty());
  EXPECT_EQ(model.Resolve(1).FileName, L"App Pro");
  EXPECT_EQ(model.Resolve(1).Icon, 4);
  EXPECT_EQ(info.VersionReads, std::vector<std::wstring>{L"C:\\App\\app.exe"}) << "that row's file alone";
  EXPECT_EQ(model.Resolve(0).FileName, L"App Pro");
  EXPECT_EQ(info.VersionReads.size(), 1u) << "a file's product name is read once";
  EXPECT_EQ(info.Extracted.size(), 1u) << "and its icon";
  EXPECT_EQ(model.Resolve(3).Icon, kImageService);
  EXPECT_EQ(model.Rows()[2].FileName, L"Plain") << "not shown yet, not read yet";
  EXPECT_EQ(info.VersionReads.size(), 1u);
}

TEST_F(AutorunModel, ReconcilesRowsInPlace) {
  catalogue.Add(L"SERV", L"One", L"One");
  catalogue.Add(L"SERV", L"Two", L"Two");
  catalogue.Add(L"HKCU", L"App", L"HKCU\\Run\\App", true, L"C:\\App\\app.exe");
  Rows();
  const std::size_t versionReads = info.Extracted.size();

  catalogue.Entries[0].Enabled = false;      // stays, now grey
  catalogue.Entries[1].Caption = L"Renamed"; // keeps its first name
  catalogue.Entries.erase(catalogue.Entries.begin() + 2);
  catalogue.Add(L"SERV", L"Three", L"Three");
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"One|SERV|off|3", L"Two|SERV|on|3", L"Three|SERV|on|3"}));
  EXPECT_EQ(info.Extracted.size(), versionReads) << "nothing is read again for rows that stay";

  model.Clear();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Renamed|SERV|on|3", L"Three|SERV|on|3"})) << "a fresh load";
}

TEST_F(AutorunModel, TheFirstOfEqualEntriesNamesTheRowAndTheLastSetsItsState) {
  catalogue.Add(L"SERV", L"First", L"Same");
  catalogue.Add(L"serv", L"Second", L"SAME", false);
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"First|SERV|off|3"});
  // The entry that named the row goes; the one that differs only in case still is the row's.
  catalogue.Entries.erase(catalogue.Entries.begin());
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"First|SERV|off|3"});
}

TEST_F(AutorunModel, AnEntryWhosePathChangesOnlyInCaseKeepsItsRow) {
  catalogue.Add(L"HKCU", L"App", L"HKCU\\Run\\App", true, L"C:\\App\\app.exe");
  catalogue.Add(L"FILE", L"Tool", L"C:\\Startup\\Tool.lnk");
  Rows();
  catalogue.Entries[0].Target = L"HKCU\\RUN\\app";
  catalogue.Entries[0].Enabled = false;
  catalogue.Entries[1].From = L"file";
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"App Pro|HKCU|off|4", L"Tool|FILE|on|1"}));
}

TEST_F(AutorunModel, AFreshLoadReadsNoFileAgain) {
  catalogue.Add(L"HKLM", L"AppValue", L"HKLM\\Software\\Run\\AppValue", true, L"C:\\App\\app.exe");
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"App Pro|HKLM|on|4"});
  EXPECT_EQ(info.VersionReads.size(), 1u);
  EXPECT_EQ(info.Extracted.size(), 1u);
  model.Clear(); // F5: every row is added again
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"App Pro|HKLM|on|4"});
  EXPECT_EQ(info.VersionReads.size(), 1u) << "the product name is read once per run";
  EXPECT_EQ(info.Extracted.size(), 1u) << "and so is the icon";
}

TEST_F(AutorunModel, VersionAndIconAreReadOnlyForAddedRows) {
  // Each case's file has a version and an icon of its own, so a read for it shows.
  auto program = [&](const std::wstring& name) {
    const std::wstring path = L"C:\\App\\" + name + L".exe";
    files.AddFile(path);
    info.Versions[path] = {{{0x0409, 0x04B0}}, {{L"\\StringFileInfo\\040904B0\\ProductName", name}}};
    info.IconCounts[path] = 1;
    return path;
  };
  const struct {
    const char* what;
    TAutorunInfo entry;
    bool loadedBefore;
  } cases[] = {
      {"a white-listed entry", {program(L"listed"), L"Audiosrv", L"", L"HKCU\\Run\\Audiosrv", L"HKCU", true}, false},
      {"a disabled entry without All Programs",
       {program(L"off"), L"Off", L"", L"HKCU\\Run\\Off", L"HKCU", false},
       false},
      {"an entry without caption", {program(L"nameless"), L"", L"", L"HKCU\\Run\\", L"HKCU", true}, false},
      {"a row that exists", {program(L"kept"), L"Kept", L"", L"HKCU\\Run\\Kept", L"HKCU", true}, true},
  };
  for (const auto& c : cases) {
    catalogue.Entries = {c.entry};
    model.Clear();
    if (c.loadedBefore) {
      EXPECT_EQ(Rows().size(), 1u) << c.what;
      EXPECT_EQ(info.VersionReads, std::vector<std::wstring>{c.entry.FileName}) << c.what << ": read when added";
      EXPECT_EQ(info.Extracted.size(), 1u) << c.what << ": read when added";
    }
    info.VersionReads.clear();
    info.Extracted.clear();
    Rows();
    EXPECT_TRUE(info.VersionReads.empty()) << c.what;
    EXPECT_TRUE(info.Extracted.empty()) << c.what;
  }
}

} // namespace

TEST(EntryAddress, IsTheTagAndTheNameLowerCasedAndPercentEncoded) {
  const struct {
    const wchar_t* from;
    const wchar_t* target;
    const wchar_t* address;
  } cases[] = {
      {L"SERV", L"MyService", L"https://i.test/entry/serv/myservice"},
      {L"HKCU", L"HKCU\\Software\\Run\\Tool-1.2_x~", L"https://i.test/entry/hkcu/tool-1.2_x~"},
      {L"FILE", L"C:\\Startup\\My Tool.lnk", L"https://i.test/entry/file/my%20tool.lnk"},
      // A value name any program can write: nothing of it may reach a command line as it stands.
      {L"HKCU", L"HKCU\\Run\\a\" --x \"b&c|d%e'f", L"https://i.test/entry/hkcu/a%22%20--x%20%22b%26c%7Cd%25e%27f"},
      {L"HKCU", L"HKCU\\Run\\x\ty\r\nz/..?#", L"https://i.test/entry/hkcu/x%09y%0D%0Az%2F..%3F%23"},
      {L"SCHE", L"\\Ünï 日本", L"https://i.test/entry/sche/%C3%9Cn%C3%AF%20%E6%97%A5%E6%9C%AC"},
  };
  for (const auto& c : cases) EXPECT_EQ(EntryAddress(L"https://i.test", c.from, c.target), c.address) << c.target;
}
