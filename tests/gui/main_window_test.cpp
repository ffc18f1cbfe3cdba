// The program's window in this process, driven by its handlers and by messages, checked through
// its row model and its controls, against fakes and against the prefix's own registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "app/main_window_win.h"
#include "autorun/fake_catalogue.h"
#include "common/registry_paths.h"
#include "common/resource_files.h"
#include "common/stalling_files.h"
#include "dialog_driver.h"
#include "fakes/fake_http.h"
#include "fakes/fake_platform.h"
#include "gallery.h"
#include "support/reg.h"
#include "windows/win32_platform.h"

namespace {

const std::wstring kSite = L"https://www.tarnwick.test:8443";
const std::wstring kInfo = L"https://info.tarnwick.test";
const std::wstring kApi = L"https://api.tarnwick.test";

// A save dialog that answers as a test tells it.
class ChosenFile final : public platform::SaveDialog {
 public:
  std::wstring path; // empty: the user cancels
  platform::SaveDialogOptions shown;
  std::function<void()> whileShown; // what happens while the user looks at the dialog
  bool ChooseFile(const platform::SaveDialogOptions& options, std::wstring& chosen) override {
    if (whileShown) whileShown();
    shown = options;
    chosen = path;
    return !path.empty();
  }
};

// A catalogue whose switches change nothing, as when the system refuses them.
class RefusingCatalogue final : public AutorunCatalogue {
 public:
  explicit RefusingCatalogue(AutorunCatalogue& inner) : inner_(inner) {}
  void GetAutorunList(AutorunList& list) override { inner_.GetAutorunList(list); }
  void SetAutorunEnabled(std::wstring_view, std::wstring_view, bool) override {}

 private:
  AutorunCatalogue& inner_;
};

// A catalogue as below Windows 10, where disabling an entry deletes it.
class DeletingCatalogue final : public AutorunCatalogue {
 public:
  explicit DeletingCatalogue(FakeCatalogue& inner) : inner_(inner) {}
  void GetAutorunList(AutorunList& list) override { inner_.GetAutorunList(list); }
  void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) override {
    if (enabled) return;
    std::erase_if(inner_.Entries, [&](const TAutorunInfo& e) { return e.Target == target && e.From == from; });
  }

 private:
  FakeCatalogue& inner_;
};

// HTTP whose one answer waits until the test lets it go.
class GatedHttp final : public platform::Http {
 public:
  explicit GatedHttp(std::string answer) : answer_(std::move(answer)) {}
  bool Get(std::wstring_view, const platform::HttpHeaders&, std::string& body) override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return open_; });
    body = answer_;
    answered = true;
    return true;
  }
  bool Post(std::wstring_view, std::wstring_view, std::string_view) override { return true; }
  void Open() {
    const std::scoped_lock lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  std::atomic<bool> answered = false;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  std::string answer_;
};

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    AddProgramResources(fake.resources);
    families.Register(std::make_unique<TVeltranoButtonStyles>());
    fake.files.Folders[0x07] = L"C:\\Startup";
    catalogue.Add(L"HKCU", L"Notes", L"HKCU\\Software\\Run\\Notes", true, L"C:\\Notes\\notes.exe");
    catalogue.Add(L"SERV", L"Windows Audio", L"Audiosrv"); // on the built-in white list
    catalogue.Add(L"SERV", L"Sample Agent", L"SampleAgent");
    catalogue.Add(L"HKLM", L"Tray", L"HKLM\\Software\\Run\\Tray", false);
    SetUnexpectedErrorHandler([this](const std::exception& error) { errors.push_back(error.what()); });
  }
  ~MainWindow() override { SetUnexpectedErrorHandler(nullptr); }

  // The window; with `http` it makes its start-up request of kApi there.
  std::unique_ptr<TFrmTarnwick> Open(const std::wstring& language, AutorunCatalogue* use = nullptr,
                                     std::shared_ptr<platform::Http> http = nullptr) {
    fake.locale.Language = language;
    translation = std::make_unique<Translation>(fake.resources, fake.locale);
    auto window = std::make_unique<TFrmTarnwick>(
        MainWindowServices{fake.resources, fake.locale,
                           FrameServices{use ? *use : catalogue, *files, fake.fileInfo, fake.shell, dialog, tokens,
                                         *translation, families, kInfo},
                           kSite, http ? kApi : L"", http},
        *translation);
    window->Show();
    Pump(300); // the start-up reply loads the list
    return window;
  }
  static std::vector<std::wstring> Rows(const TFrmTarnwick& window) {
    std::vector<std::wstring> rows;
    for (const TAutorunItem& r : window.FrmAutorun->Model().Rows()) {
      rows.push_back(r.FileName + L"|" + r.From + (r.Enabled ? L"" : L"|grey"));
    }
    return rows;
  }

  platform::FakePlatform fake;
  platform::FileSystem* files = &fake.files; // the window's
  FakeCatalogue catalogue;
  ChosenFile dialog;
  FolderTokens tokens;
  ButtonFamilies families;
  std::unique_ptr<Translation> translation;
  std::vector<std::string> errors;
};

TEST_F(MainWindow, TheCaptionIsTarnwickInEveryLanguageAndTheHeaderIsTranslated) {
  const struct {
    const wchar_t* language;
    const wchar_t* home;
    const wchar_t* button;
  } cases[] = {{L"ko", L"처음화면", L"사용안함"},
               {L"en", L"Home", L"Disable"},
               {L"ja", L"ホーム", L"無効化"},
               {L"ar", L"الرئيسية", L"تعطيل"}};
  for (const auto& c : cases) {
    const auto window = Open(c.language);
    EXPECT_EQ(window->Caption(), L"Tarnwick");
    EXPECT_EQ(window->BtnHome.Caption(), c.home);
    EXPECT_EQ(window->FrmAutorun->BtnAutorun.Caption(), c.button);
    EXPECT_EQ(window->FrmAutorun->Menu.Items()[0]->Caption(), L"목록 저장") << "untranslated in every language";
  }
}

TEST_F(MainWindow, TheLayoutTableAtTheWindowsDpiAndTheLogosLink) {
  const auto window = Open(L"en");
  const int dpi = window->Dpi();
  RECT client;
  GetClientRect(window->Handle(), &client);
  EXPECT_EQ(client.right, Scale(412, dpi));
  EXPECT_EQ(client.bottom, Scale(432, dpi));
  GetClientRect(window->ImgLogo.Handle(), &client);
  EXPECT_EQ(client.right, Scale(112, dpi));
  EXPECT_EQ(client.bottom, Scale(50, dpi));
  EXPECT_EQ(window->ImgLogo.cursor, IDC_HAND);
  EXPECT_EQ(window->BtnHome.State(), ButtonState::Pressed) << "the one tab stands pressed";
  SendMessageW(window->ImgLogo.Handle(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(fake.shell.Opened, std::vector<std::wstring>{kSite + L"/tarnwick"});
  RECT row{};
  ListView_GetItemRect(window->FrmAutorun->ListAutorun.Handle(), 0, &row, LVIR_BOUNDS);
  EXPECT_EQ(row.bottom - row.top, Scale(24, dpi)) << "every row 24 pixels high, scaled";
}

TEST_F(MainWindow, TheListFollowsANewDpi) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  window->ApplyDpi(144, nullptr);
  Pump(100);
  const HWND list = frame.ListAutorun.Handle();
  RECT row{};
  ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
  EXPECT_EQ(row.bottom - row.top, 36) << "24 pixels at 144 DPI";
  EXPECT_EQ(ListView_GetColumnWidth(list, 1), 75);
  int width = 0, height = 0;
  ImageList_GetIconSize(frame.Images(), &width, &height);
  EXPECT_EQ(width, 24);
  EXPECT_EQ(ImageList_GetImageCount(frame.Images()), 4) << "the stored images, kept at their places";
  LOGFONTW listFont{}, consolas{};
  GetObjectW(window->Font(), sizeof(listFont), &listFont);
  GetObjectW(frame.ColumnFont(1), sizeof(consolas), &consolas);
  EXPECT_EQ(consolas.lfHeight, listFont.lfHeight);
  EXPECT_STREQ(consolas.lfFaceName, L"Consolas");
}

TEST_F(MainWindow, TheHeaderIsFifteenPixelsHighWhereItsFontFitsElseJustTallEnoughForItsCaptions) {
  const auto window = Open(L"en");
  const HWND list = window->FrmAutorun->ListAutorun.Handle();
  const HWND header = ListView_GetHeader(list);
  const auto height = [&] {
    RECT rect{};
    GetWindowRect(header, &rect);
    return static_cast<int>(rect.bottom - rect.top);
  };
  const auto textHeight = [&] {
    const HDC dc = GetDC(header);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    TEXTMETRICW text{};
    GetTextMetricsW(dc, &text);
    SelectObject(dc, old);
    ReleaseDC(header, dc);
    return static_cast<int>(text.tmHeight);
  };
  const int dpi = window->Dpi();
  ASSERT_GT(textHeight() + 4, Scale(15, dpi)) << "the desktop font does not fit in 15 pixels";
  EXPECT_EQ(height(), textHeight() + 4) << "the captions whole, and no taller";
  const platform::FontHandle small(CreateFontW(-Scale(8, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                               0, 0, 0, 0, L"Tahoma"));
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(small.get()), TRUE);
  EXPECT_EQ(height(), Scale(15, dpi)) << "a font that fits: the layout table's height";
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(window->Font()), TRUE);
}

TEST_F(MainWindow, OnlyTheRowsOnScreenReadTheirProgramsNameAndIcon) {
  catalogue.Entries.clear();
  fake.files.AddFolder(L"C:\\Apps");
  for (int i = 0; i < 100; ++i) {
    const std::wstring file = L"C:\\Apps\\app" + std::to_wstring(i) + L".exe";
    fake.files.AddFile(file);
    fake.fileInfo.IconCounts[file] = 1;
    catalogue.Add(L"HKCU", L"App" + std::to_wstring(i), L"HKCU\\Run\\App" + std::to_wstring(i), true, file);
  }
  const auto window = Open(L"en");
  const HWND list = window->FrmAutorun->ListAutorun.Handle();
  const auto read = [&](int i) {
    const std::wstring file = L"C:\\Apps\\app" + std::to_wstring(i) + L".exe";
    return std::count(fake.fileInfo.VersionReads.begin(), fake.fileInfo.VersionReads.end(), file);
  };
  EXPECT_EQ(read(0), 1);
  EXPECT_EQ(read(99), 0) << "a row below the window is not read";
  const std::size_t shown = fake.fileInfo.VersionReads.size();
  EXPECT_LE(shown, static_cast<std::size_t>(ListView_GetCountPerPage(list) + 2)) << "the rows on screen and no more";
  SendMessageW(list, WM_KEYDOWN, VK_END, 0);
  UpdateWindow(list);
  EXPECT_EQ(read(99), 1) << "read once it is shown";
  SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  UpdateWindow(list);
  EXPECT_EQ(read(0), 1) << "and never again";
  EXPECT_EQ(fake.fileInfo.Extracted.size(), fake.fileInfo.VersionReads.size()) << "an icon for each row read";
}

TEST_F(MainWindow, TheListLoadsAtStartWithTheBuiltInLists) {
  const auto window = Open(L"en");
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Notes|HKCU", L"Sample Agent|SERV"}))
      << "Audiosrv is white-listed, the disabled Tray waits for All Programs";
  EXPECT_EQ(window->FrmAutorun->ListAutorun.RowCount(), 2);
}

TEST_F(MainWindow, DisablingGreysTheRowInPlaceF5RemovesItAndAllProgramsBringsItBack) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  frame.ListAutorun.SelectRow(0);
  SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Notes|HKCU|grey", L"Sample Agent|SERV"}));
  EXPECT_FALSE(catalogue.Entries[0].Enabled);
  EXPECT_TRUE(frame.BtnAutorun.Down());
  EXPECT_EQ(frame.BtnAutorun.Caption(), L"Enable");
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), 0) << "the selection stays";

  SendMessageW(frame.ListAutorun.Handle(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(Rows(*window), std::vector<std::wstring>{L"Sample Agent|SERV"});

  SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(frame.ChkAllList.Checked());
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Notes|HKCU|grey", L"Sample Agent|SERV", L"Tray|HKLM|grey"}));

  frame.ListAutorun.SelectRow(0);
  SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(*window).front(), L"Notes|HKCU");
  EXPECT_FALSE(frame.BtnAutorun.Down());
  EXPECT_EQ(frame.BtnAutorun.Caption(), L"Disable");
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, TheSelectionStaysOnItsEntryWhenRowsBeforeItGoAndNothingIsSelectedWhenItGoes) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0); // Notes, Sample Agent, Tray
  frame.ListAutorun.SelectRow(2);
  catalogue.Entries.erase(catalogue.Entries.begin()); // Notes goes
  frame.LoadAutorun();
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Sample Agent|SERV", L"Tray|HKLM|grey"}));
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), 1) << "still Tray, one row up";
  EXPECT_EQ(frame.ListAutorun.FocusedRow(), 1);
  EXPECT_EQ(frame.BtnAutorun.Caption(), L"Enable");

  catalogue.Entries[2].Target = L"HKLM\\SOFTWARE\\RUN\\TRAY"; // the same entry, ASCII case aside
  SendMessageW(frame.ListAutorun.Handle(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), 1) << "F5 builds Tray's row anew and keeps it selected";
  SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0); // Tray, disabled, has no row now
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), -1);
  frame.ListAutorun.SelectRow(0);
  catalogue.Entries.insert(catalogue.Entries.begin(), TAutorunInfo{L"", L"First", L"", L"First", L"SERV", true});
  SendMessageW(frame.ListAutorun.Handle(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"First|SERV", L"Sample Agent|SERV"}));
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), 1) << "F5 keeps Sample Agent selected, now second";

  catalogue.Entries.erase(catalogue.Entries.begin() + 2); // Sample Agent goes
  frame.LoadAutorun();
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), -1) << "the entry has no row: nothing is selected";
  EXPECT_FALSE(frame.BtnAutorun.Enabled());
}

TEST_F(MainWindow, BelowWindows10RepeatedClicksDeleteTheChosenEntryAndNoOther) {
  DeletingCatalogue deleting(catalogue);
  const auto window = Open(L"en", &deleting);
  TFrmAutorun& frame = *window->FrmAutorun;
  frame.ListAutorun.SelectRow(0); // Notes
  SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Rows(*window), std::vector<std::wstring>{L"Sample Agent|SERV"});
  EXPECT_EQ(frame.ListAutorun.SelectedRow(), -1) << "the deleted entry's neighbour is not selected";
  EXPECT_FALSE(frame.BtnAutorun.Enabled());
  SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
  frame.BtnAutorunClick(); // even if a click got through
  EXPECT_EQ(catalogue.Entries.size(), 3u) << "Notes deleted, nothing else";
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, TheButtonFollowsTheSelectionByKeyboardAndIsDisabledWithoutOne) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  EXPECT_FALSE(frame.BtnAutorun.Enabled()) << "nothing selected at start";
  EXPECT_EQ(frame.BtnAutorun.State(), ButtonState::Disabled);
  SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0);
  SetFocus(frame.ListAutorun.Handle());
  const struct {
    WPARAM key;
    int row;
    bool down;
    const wchar_t* caption;
  } steps[] = {{VK_END, 2, true, L"Enable"}, {VK_HOME, 0, false, L"Disable"}, {VK_DOWN, 1, false, L"Disable"},
               {VK_DOWN, 2, true, L"Enable"}, {VK_UP, 1, false, L"Disable"}};
  for (const auto& step : steps) {
    SendMessageW(frame.ListAutorun.Handle(), WM_KEYDOWN, step.key, 0);
    EXPECT_EQ(frame.ListAutorun.SelectedRow(), step.row) << step.key;
    EXPECT_TRUE(frame.BtnAutorun.Enabled()) << step.key;
    EXPECT_EQ(frame.BtnAutorun.Down(), step.down) << step.key;
    EXPECT_EQ(frame.BtnAutorun.Caption(), step.caption) << step.key;
  }
  catalogue.Entries[3].Enabled = true; // Tray switched on elsewhere: the reload tells the button
  frame.ListAutorun.SelectRow(2);
  frame.LoadAutorun();
  EXPECT_FALSE(frame.BtnAutorun.Down());
  frame.ListAutorun.SelectRow(-1);
  EXPECT_FALSE(frame.BtnAutorun.Enabled());
  EXPECT_EQ(catalogue.Reads, 3u) << "a click of the disabled button reloads nothing";
  SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(catalogue.Reads, 3u);
}

TEST_F(MainWindow, AltF5ReloadsLikeF5) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  catalogue.Entries[0].Enabled = false;
  frame.LoadAutorun();
  EXPECT_EQ(Rows(*window).front(), L"Notes|HKCU|grey") << "a load keeps the row";
  SendMessageW(frame.ListAutorun.Handle(), WM_SYSKEYDOWN, VK_F5, 1 << 29);
  EXPECT_EQ(Rows(*window), std::vector<std::wstring>{L"Sample Agent|SERV"}) << "a reload from scratch drops it";
}

TEST_F(MainWindow, ALoadRepaintsButRunsNoInputAndKeepsTheQuitMessage) {
  const auto window = Open(L"en");
  PostMessageW(window->Handle(), WM_CLOSE, 0, 0);
  PostQuitMessage(7);
  window->FrmAutorun->LoadAutorun();
  EXPECT_TRUE(IsWindow(window->Handle())) << "the close waits for the message loop";
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, window->Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is not lost";
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(MainWindow, TheReplyWaitsUntilTheSaveDialogsLoopEnds) {
  auto http = std::make_shared<GatedHttp>(R"({"notify":"https://x.test/n","name_white":["Notes"]})");
  const auto window = Open(L"en", nullptr, http);
  bool shownDuring = true;
  dialog.whileShown = [&] {
    http->Open();
    // The dialog's own loop, as the system's save dialog runs it, while the reply arrives.
    DialogDriver driver([&](HWND box) {
      for (int wait = 0; wait < 200 && !http->answered; ++wait) Sleep(10);
      Sleep(200);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    MessageBoxW(window->Handle(), L"save", L"Tarnwick", MB_OK);
    shownDuring = window->FindComponent(L"StatusBar") != nullptr;
  };
  PopupMenu::Item& save = *static_cast<PopupMenu::Item*>(window->FrmAutorun->Menu.Items()[0]);
  RunHandler(save.onClick);
  EXPECT_TRUE(http->answered);
  EXPECT_FALSE(shownDuring) << "the reply step ran inside the dialog's loop";
  EXPECT_TRUE(PumpUntil([&] { return window->FindComponent(L"StatusBar") != nullptr; })) << "and after it";
  EXPECT_GE(window->GetNameWhite().IndexOf(L"Notes"), 0);
}

TEST_F(MainWindow, ASwitchThatChangesNothingSaysSoInTheUsersLanguageAndTheButtonShowsTheRealState) {
  RefusingCatalogue refusing(catalogue);
  const struct {
    const wchar_t* language;
    const char* off; // the error of a refused switch, naming the entry as the list shows it
    const char* on;
  } cases[] = {
      {L"en", "Sample Agent (SERV) could not be disabled.", "Tray (HKLM) could not be enabled."},
      {L"ko", "Sample Agent (SERV) 항목을 사용안함으로 바꾸지 못했습니다.", "Tray (HKLM) 항목을 사용함으로 바꾸지 못했습니다."},
      {L"ja", "Sample Agent (SERV) を無効にできませんでした。", "Tray (HKLM) を有効にできませんでした。"},
      {L"ar", "تعذّر تعطيل Sample Agent (SERV).", "تعذّر تفعيل Tray (HKLM)."},
      {L"fr", "Impossible de désactiver Sample Agent (SERV).", "Impossible d'activer Tray (HKLM)."},
  };
  for (const auto& c : cases) {
    errors.clear();
    const auto window = Open(c.language, &refusing);
    TFrmAutorun& frame = *window->FrmAutorun;
    frame.ListAutorun.SelectRow(1);
    SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
    SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0);
    frame.ListAutorun.SelectRow(2);
    SendMessageW(frame.BtnAutorun.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(errors, (std::vector<std::string>{c.off, c.on}));
    EXPECT_TRUE(frame.BtnAutorun.Down()) << "Tray is still disabled, so the button offers to enable it";
    EXPECT_EQ(frame.BtnAutorun.Caption(), translation->Translate(L"사용함"));
    EXPECT_TRUE(frame.BtnAutorun.Enabled()) << "enabled again after the failure";
  }
}

// What the list's tooltip shows for `row`, asked as the system's list asks when the mouse rests on
// the row; `cutOff` is the row's text when the list shows it cut off.
std::wstring InfoTip(ListView& list, int row, const std::wstring& cutOff = L"") {
  wchar_t text[INFOTIPSIZE];
  lstrcpynW(text, cutOff.c_str(), INFOTIPSIZE);
  NMLVGETINFOTIPW tip{};
  tip.hdr = {list.Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(list.Handle())), LVN_GETINFOTIPW};
  tip.dwFlags = cutOff.empty() ? LVGIT_UNFOLDED : 0;
  tip.pszText = text;
  tip.cchTextMax = INFOTIPSIZE;
  tip.iItem = row;
  SendMessageW(GetParent(list.Handle()), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  return text;
}

TEST_F(MainWindow, ARowsTooltipSaysSinceWhenItIsSwitchedAndThatItsFileIsMissing) {
  constexpr std::uint64_t kSwitched = 0x01DD'8925'8343'3D00ull; // 2026-12-11 04:10:10 UTC
  catalogue.Entries[0].SwitchedAt = kSwitched; // Notes, enabled, its program missing
  catalogue.Entries[3].SwitchedAt = kSwitched; // Tray, disabled, no program file
  catalogue.Entries[3].FileName = L"C:\\Tray\\tray.exe";
  fake.files.AddFile(L"C:\\Tray\\tray.exe");
  const struct {
    const wchar_t* language;
    const wchar_t *enabled, *disabled, *missing; // around the date and time
  } cases[] = {{L"en", L"Enabled since |", L"Disabled since |", L"File not found"},
               {L"ko", L"|부터 사용함", L"|부터 사용안함", L"파일을 찾을 수 없음"},
               {L"ja", L"| から有効", L"| から無効", L"ファイルが見つかりません"},
               {L"ar", L"مفعّل منذ |", L"معطّل منذ |", L"الملف غير موجود"}};
  for (const auto& c : cases) {
    const auto window = Open(c.language);
    TFrmAutorun& frame = *window->FrmAutorun;
    SendMessageW(frame.ChkAllList.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(Rows(*window), (std::vector<std::wstring>{L"Notes|HKCU", L"Sample Agent|SERV", L"Tray|HKLM|grey"}));
    const auto around = [](std::wstring_view pattern, const std::wstring& tip) {
      const std::size_t bar = pattern.find(L'|');
      return tip.size() > pattern.size() + 8 && tip.starts_with(pattern.substr(0, bar)) &&
             tip.ends_with(pattern.substr(bar + 1)) && tip.find(L"2026") != std::wstring::npos;
    };
    const std::wstring notes = InfoTip(frame.ListAutorun, 0);
    const std::size_t line = notes.find(L"\r\n");
    ASSERT_NE(line, std::wstring::npos) << notes;
    EXPECT_TRUE(around(c.enabled, notes.substr(0, line))) << notes;
    EXPECT_EQ(notes.substr(line + 2), c.missing);
    EXPECT_TRUE(around(c.disabled, InfoTip(frame.ListAutorun, 2))) << InfoTip(frame.ListAutorun, 2);
    EXPECT_EQ(InfoTip(frame.ListAutorun, 1), L"") << "a service: nothing to say";
    EXPECT_EQ(InfoTip(frame.ListAutorun, 1, L"Sample Ag..."), L"Sample Ag...") << "a cut-off row keeps its text";
    EXPECT_EQ(InfoTip(frame.ListAutorun, 0, L"Notes"), L"Notes\r\n" + notes) << "the tip goes below it";
  }
}

TEST_F(MainWindow, ARowsTooltipSaysNothingOfAFileOnAShareThatStopsAnswering) {
  catalogue.Entries[0].FileName = L"\\\\server\\share\\notes.exe"; // Notes, its program missing
  StallingFiles share;
  files = &share;
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  // The rows are shown; then the share stops answering, for ten seconds at the longest.
  share.Stall(L"\\\\server\\");
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  std::thread server([&] {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return done; });
    share.Release();
  });
  const auto start = std::chrono::steady_clock::now();
  const std::wstring stalled = InfoTip(frame.ListAutorun, 0);
  const auto took = std::chrono::steady_clock::now() - start;
  const std::wstring again = InfoTip(frame.ListAutorun, 0);
  {
    const std::scoped_lock lock(mutex);
    done = true;
  }
  changed.notify_all();
  server.join();
  EXPECT_EQ(stalled, L"") << "nothing about a file that does not answer";
  EXPECT_GE(took, kFileCheckLimit);
  EXPECT_LT(took, 3 * kFileCheckLimit);
  EXPECT_EQ(again, L"") << "and not waited for again";

  SendMessageW(frame.ListAutorun.Handle(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(InfoTip(frame.ListAutorun, 0), L"File not found") << "asked again at the next load";
}

TEST_F(MainWindow, ADoubleClickOpensTheEntrysPage) {
  const auto window = Open(L"en");
  TFrmAutorun& frame = *window->FrmAutorun;
  frame.ListAutorun.SelectRow(1);
  frame.ListAutorunDblClick();
  EXPECT_EQ(fake.shell.Opened, std::vector<std::wstring>{kInfo + L"/entry/serv/sampleagent"});
}

TEST_F(MainWindow, SavingWritesTheWholeCatalogueAndAFailureReachesTheErrorBox) {
  const auto window = Open(L"en");
  PopupMenu::Item& save = *static_cast<PopupMenu::Item*>(window->FrmAutorun->Menu.Items()[0]);
  dialog.path = L"C:\\saved.txt";
  RunHandler(save.onClick);
  std::string text, message;
  std::wstring error;
  ASSERT_TRUE(fake.files.ReadWholeFile(L"C:\\saved.txt", 1 << 20, text, error));
  EXPECT_EQ(text,
            "\xEF\xBB\xBFHKCU|Notes|HKCU\\Software\\Run\\Notes\r\nSERV|Windows Audio|Audiosrv\r\n"
            "SERV|Sample Agent|SampleAgent\r\nHKLM|Tray|HKLM\\Software\\Run\\Tray\r\n")
      << "white-listed and disabled entries too";
  EXPECT_EQ(dialog.shown.title, L"Save");
  EXPECT_EQ(dialog.shown.filters,
            (std::vector<std::pair<std::wstring, std::wstring>>{{L"Text (*.txt)", L"*.txt"}, {L"All (*.*)", L"*.*"}}));
  EXPECT_EQ(dialog.shown.defaultExtension, L"txt");
  EXPECT_TRUE(errors.empty());

  dialog.path = L"C:\\Missing\\saved.txt";
  RunHandler(save.onClick);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("C:\\Missing\\saved.txt"), std::string::npos) << errors[0];
  EXPECT_FALSE(fake.files.IsFile(L"C:\\Missing\\saved.txt"));

  dialog.path.clear(); // cancelled: nothing happens
  RunHandler(save.onClick);
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(MainWindow, TheStartUpReplyMergesItsListsAndReconcilesTheList) {
  auto http = std::make_shared<platform::FakeHttp>();
  http->Answers = {R"({"name_white":["AUDIOSRV","Sample"],"file_white":"notes.lnk","name_black":["Evil"]})"};
  const auto window = Open(L"en", nullptr, http);
  ASSERT_TRUE(PumpUntil([&] { return window->GetNameBlack().IndexOf(L"evil") >= 0; })) << "the reply merged";
  EXPECT_EQ(Rows(*window), std::vector<std::wstring>{L"Notes|HKCU"}) << "Sample Agent white-listed by the reply";
  EXPECT_EQ(window->GetFileWhite().Count(), 0) << "a string is no array";
  const int builtIn = window->GetNameWhite().IndexOf(L"audiosrv");
  ASSERT_GE(builtIn, 0);
  EXPECT_EQ(window->GetNameWhite()[builtIn], L"Audiosrv") << "the built-in entry, not the reply's capitals";
  const auto requests = http->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].url, kApi + L"/api.init.php");
  ASSERT_EQ(requests[0].headers.size(), 4u);
  EXPECT_EQ(requests[0].headers[1], (std::pair<std::wstring, std::wstring>{L"User-Language", L"en"}));
  EXPECT_EQ(requests[0].headers[2], (std::pair<std::wstring, std::wstring>{L"User-Debug", L"false"}));
  EXPECT_EQ(requests[0].headers[3].second.size(), 32u) << "the installation identifier";
  EXPECT_EQ(window->FindComponent(L"StatusBar"), nullptr);
}

TEST_F(MainWindow, TheListShowsWithoutWaitingForTheReplyWhichHidesTheRowsItsListsName) {
  auto http = std::make_shared<platform::FakeHttp>(); // no answer: the worker waits ten seconds
  catalogue.Add(L"SERV", L"Other Agent", L"OtherAgent");
  const auto window = Open(L"en", nullptr, http);
  ListView& list = window->FrmAutorun->ListAutorun;
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Notes|HKCU", L"Sample Agent|SERV", L"Other Agent|SERV"}))
      << "loaded at once with the built-in lists";
  list.SelectRow(1);
  catalogue.Add(L"SERV", L"Late Agent", L"LateAgent");
  // The reply as it would come: its lists merged, the list loaded again.
  window->ReplyHandler(false, LR"({"name_white":["Notes","LateAgent"]})");
  EXPECT_EQ(Rows(*window), (std::vector<std::wstring>{L"Sample Agent|SERV", L"Other Agent|SERV"}))
      << "as if the reply had come first: a row already shown goes, a new entry is filtered too";
  EXPECT_EQ(list.SelectedRow(), 0) << "the selection kept on its entry";
  window->ReplyHandler(false, LR"({"name_white":["SampleAgent"]})");
  EXPECT_EQ(Rows(*window), std::vector<std::wstring>{L"Other Agent|SERV"});
  EXPECT_EQ(list.SelectedRow(), -1) << "the selected entry hidden";
  EXPECT_FALSE(IsWindowEnabled(window->FrmAutorun->BtnAutorun.Handle())) << "nothing to switch";
  window->ReplyHandler(false, L"<html>502 Bad Gateway</html>");
  EXPECT_EQ(Rows(*window).size(), 1u) << "a reply that is no JSON merges nothing and still loads";
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, AnAcceptedUpdateShowsTheNoticeAndClosesTheWindow) {
  auto http = std::make_shared<platform::FakeHttp>();
  http->Answers = {R"({"update":"https://dl.tarnwick.test/setup.exe","notify":"https://x.test/n","name_white":["x"]})"};
  bool closed = false;
  DialogDriver driver([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDYES, 0); });
  const auto window = Open(L"de", nullptr, http);
  window->OnDestroy = [&] { closed = true; };
  PumpUntil([&] { return driver.found && (closed || !IsWindow(window->Handle())); });
  EXPECT_TRUE(driver.found);
  EXPECT_EQ(fake.shell.Opened, std::vector<std::wstring>{L"https://dl.tarnwick.test/setup.exe"});
  EXPECT_TRUE(closed || !IsWindow(window->Handle()));
  const auto* bar = window->FindComponent(L"StatusBar");
  ASSERT_NE(bar, nullptr) << "the notice comes before the window closes";
}

TEST_F(MainWindow, AnUpdateDeclinedLeavesTheWindowAndLoadsTheList) {
  auto http = std::make_shared<platform::FakeHttp>();
  http->Answers = {R"({"update":"https://dl.tarnwick.test/setup.exe"})"};
  DialogDriver driver([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDNO, 0); });
  const auto window = Open(L"en", nullptr, http);
  PumpUntil([&] { return driver.found.load(); });
  EXPECT_TRUE(driver.found);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_TRUE(fake.shell.Opened.empty());
  EXPECT_EQ(Rows(*window).size(), 2u);
}

TEST_F(MainWindow, ClosingTheWindowWhileTheRequestWaitsEndsItWithoutTheHandler) {
  auto http = std::make_shared<platform::FakeHttp>(); // no answers: every attempt fails
  auto window = Open(L"en", nullptr, http); // the worker waits ten seconds before its next attempt
  DestroyWindow(window->Handle());
  window.reset();
  // The worker lets go of its transport when it ends: as the window goes, not ten seconds later.
  for (int wait = 0; wait < 100 && http.use_count() > 1; ++wait) Pump(10);
  EXPECT_EQ(http.use_count(), 1) << "the worker ended";
  EXPECT_EQ(http->Requests().size(), 1u) << "no attempt after the window went";
}

TEST(MainWindowOnWindows, DisablingWritesTheStartupApprovedValueBesideTheEntry) {
  platform::Win32Platform win32;
  const TReg reg(win32.registry);
  reg.WriteString(platform::kCurrentUser, keys::kRun, L"TarnwickWindowTest", L"C:\\window-test.exe");
  reg.DeleteValue(platform::kCurrentUser, keys::kApprovedRun, L"TarnwickWindowTest");
  const FolderTokens tokens = MakeFolderTokens(win32.files, win32.system);
  Translation translation({}, L"en");
  ButtonFamilies families;
  families.Register(std::make_unique<TVeltranoButtonStyles>());
  SystemCatalogue catalogue(win32.registry, win32.files, win32.tasks, win32.services, win32.system, tokens);
  ChosenFile dialog;
  platform::FakeShell shell;
  TFrmTarnwick window(
      {win32.resources, win32.locale,
       FrameServices{catalogue, win32.files, win32.fileInfo, shell, dialog, tokens, translation, families, kInfo},
       kSite},
      translation);
  window.Show();
  Pump(500);
  TFrmAutorun& frame = *window.FrmAutorun;
  const auto& rows = frame.Model().Rows();
  int found = -1;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (rows[i].Target.ends_with(L"\\TarnwickWindowTest")) found = i;
  }
  ASSERT_GE(found, 0);
  frame.ListAutorun.SelectRow(found);
  frame.BtnAutorunClick();
  const std::vector<std::byte> value =
      reg.ReadBinary(platform::kCurrentUser, keys::kApprovedRun, L"TarnwickWindowTest");
  ASSERT_EQ(value.size(), 12u);
  EXPECT_EQ(std::to_integer<int>(value[0]), 3);
  EXPECT_FALSE(frame.Model().Rows()[found].Enabled) << "the row stays, grey";
  reg.DeleteValue(platform::kCurrentUser, keys::kRun, L"TarnwickWindowTest");
  reg.DeleteValue(platform::kCurrentUser, keys::kApprovedRun, L"TarnwickWindowTest");
}

} // namespace
