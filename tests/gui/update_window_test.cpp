// What the user sees of an update: the dialog answered from a driver thread as a user would,
// and the notice's status bar on a form.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "dialog_driver.h"
#include "fakes/fake_http.h"
#include "fakes/fake_shell.h"
#include "gallery.h"
#include "toolkit/layout.h"
#include "update/win32/update_dialog_win.h"
#include "update/win32/update_status_win.h"
#include "update/win32/update_win.h"

#include <thread>

namespace {

// What the driver saw of the dialog.
struct Seen {
  std::wstring caption, yes, no, box, link;
  int defaultButton = 0;
  bool topmost = false, hasBox = false, hasLink = false, hasSeparator = false;
  COLORREF separatorColor = 0;
  RECT window{}, separator{}, extra{}; // the extras in client coordinates
};

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

RECT ClientRectOf(HWND dialog, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Seen Look(HWND dialog) {
  Seen seen;
  seen.caption = TextOf(dialog);
  seen.yes = TextOf(GetDlgItem(dialog, IDYES));
  seen.no = TextOf(GetDlgItem(dialog, IDNO));
  seen.defaultButton = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
  seen.topmost = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  GetWindowRect(dialog, &seen.window);
  if (const HWND box = GetDlgItem(dialog, kUpdateHoldBox)) {
    seen.hasBox = true;
    seen.box = TextOf(box);
    seen.extra = ClientRectOf(dialog, box);
  }
  if (const HWND link = GetDlgItem(dialog, kUpdateNoteLink)) {
    seen.hasLink = true;
    seen.link = TextOf(link);
    seen.extra = ClientRectOf(dialog, link);
  }
  if (const HWND line = GetDlgItem(dialog, kUpdateSeparator)) {
    seen.hasSeparator = true;
    seen.separator = ClientRectOf(dialog, line);
    UpdateWindow(line); // painted now, not read from the screen before its first paint
    const HDC dc = GetDC(line);
    seen.separatorColor = GetPixel(dc, 5, 0);
    ReleaseDC(line, dc);
  }
  return seen;
}

struct Shown {
  bool result;
  bool held;
  Seen seen;
};

// Shows the dialog for `reply` and lets `answer` close it.
Shown Show(const std::wstring& reply, const std::wstring& language, const std::function<void(HWND)>& answer,
           platform::FakeShell* shell = nullptr) {
  platform::FakeShell own;
  Seen seen;
  bool held = false;
  DialogDriver driver([&](HWND dialog) {
    seen = Look(dialog);
    answer(dialog);
  });
  const bool result = UpdateDialog(UpdateDialogSetting{nullptr, language, L"Tarnwick", shell ? *shell : own}, reply, 10,
                                   [&] { held = true; });
  return {result, held, seen};
}

void Press(HWND dialog, int button) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

TEST(UpdateDialog, AsksInTheNotificationsLanguageWithYesAsTheDefault) {
  const struct {
    const wchar_t *language, *yes, *no;
  } cases[] = {{L"ko", L"예", L"아니오"}, {L"de", L"Ja", L"Nein"}, {L"en", L"Yes", L"No"}, {L"ar", L"Yes", L"No"}};
  for (const auto& c : cases) {
    const Shown yes = Show(LR"({"update":"https://dl.example/s.exe"})", c.language, [](HWND d) { Press(d, IDYES); });
    EXPECT_TRUE(yes.result) << c.language;
    EXPECT_EQ(yes.seen.caption, L"Tarnwick");
    EXPECT_EQ(yes.seen.yes, c.yes);
    EXPECT_EQ(yes.seen.no, c.no);
    EXPECT_EQ(yes.seen.defaultButton, IDYES);
    EXPECT_FALSE(yes.seen.hasSeparator) << "no info, no extras";
    EXPECT_FALSE(yes.seen.topmost);
  }
  EXPECT_FALSE(Show(L"{}", L"en", [](HWND d) { Press(d, IDNO); }).result);
  EXPECT_FALSE(Show(L"{}", L"en", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }).result) << "closed: not Yes";
  // Enter takes the default button.
  EXPECT_TRUE(Show(L"{}", L"en", [](HWND d) {
                PostMessageW(GetDlgItem(d, IDYES), WM_KEYDOWN, VK_RETURN, 0);
                PostMessageW(d, WM_KEYDOWN, VK_RETURN, 0);
              }).result);
}

TEST(UpdateDialog, TheHoldBoxSitsBelowTheButtonsAndItsNoticeGoesWhateverTheAnswer) {
  const std::wstring reply = LR"({"info":{"style":"hold","text":"Don't ask again","flag":"x stayontop y"}})";
  const Shown plain = Show(L"{}", L"en", [](HWND d) { Press(d, IDNO); });
  const Shown ticked = Show(reply, L"en", [](HWND d) {
    SendMessageW(GetDlgItem(d, kUpdateHoldBox), BM_SETCHECK, BST_CHECKED, 0);
    Press(d, IDNO);
  });
  EXPECT_FALSE(ticked.result);
  EXPECT_TRUE(ticked.held) << "No chosen, the notice still goes";
  EXPECT_TRUE(ticked.seen.topmost);
  ASSERT_TRUE(ticked.seen.hasBox);
  EXPECT_EQ(ticked.seen.box, L"Don't ask again");
  // At 96 DPI with the offset 10: 30 pixels more, the line 66 and the box 56 above the bottom
  // edge, the box 10 from the left.
  const int dpi = GetDpiForSystem();
  const int height = ticked.seen.window.bottom - ticked.seen.window.top;
  EXPECT_EQ(height - (plain.seen.window.bottom - plain.seen.window.top), Scale(30, dpi));
  ASSERT_TRUE(ticked.seen.hasSeparator);
  EXPECT_EQ(ticked.seen.separator.top, height - Scale(66, dpi));
  EXPECT_EQ(ticked.seen.separator.bottom - ticked.seen.separator.top, 1);
  EXPECT_EQ(ticked.seen.separatorColor, RGB(204, 204, 204));
  EXPECT_EQ(ticked.seen.extra.top, height - Scale(56, dpi));
  EXPECT_EQ(ticked.seen.extra.left, Scale(10, dpi));

  const Shown unticked = Show(reply, L"en", [](HWND d) { Press(d, IDYES); });
  EXPECT_TRUE(unticked.result);
  EXPECT_FALSE(unticked.held);

  const Shown capitals = Show(LR"({"info":{"style":"HOLD","text":"x"}})", L"en", [](HWND d) { Press(d, IDNO); });
  EXPECT_TRUE(capitals.seen.hasSeparator) << "another style: space and the line";
  EXPECT_FALSE(capitals.seen.hasBox);
  EXPECT_FALSE(capitals.seen.hasLink);
}

TEST(UpdateDialog, TheNoteLinkOpensOnlyAWebAddressAndTheDialogStays) {
  for (const auto& [url, opened] : {std::pair{L"https://x.example/notes", true}, std::pair{L"file:///C:/x.exe", false},
                                    std::pair{L"C:\\\\Windows\\\\x.exe", false}}) {
    platform::FakeShell shell;
    bool stayed = false;
    const Shown shown = Show(std::wstring(LR"({"info":{"style":"note","text":"Release notes","url":")") + url + L"\"}}",
                             L"en",
                             [&](HWND d) {
                               SendMessageW(d, WM_COMMAND, MAKEWPARAM(kUpdateNoteLink, BN_CLICKED),
                                            reinterpret_cast<LPARAM>(GetDlgItem(d, kUpdateNoteLink)));
                               stayed = IsWindowVisible(d) != FALSE;
                               Press(d, IDNO);
                             },
                             &shell);
    ASSERT_TRUE(shown.seen.hasLink);
    EXPECT_EQ(shown.seen.link, L"Release notes");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(shell.Opened.size(), opened ? 1u : 0u) << url;
  }
}

TEST(UpdateStatus, OneBarBoldRedAndReadableThatGrowsTheWindowAndOpensTheLastAddress) {
  Form form(L"Form", L"Form", 300, 200);
  Panel& content = form.Make<Panel>(form, L"Content");
  content.align = Align::Client;
  form.Show();
  Pump(50);
  RECT before, contentBefore;
  GetClientRect(form.Handle(), &before);
  GetClientRect(content.Handle(), &contentBefore);
  platform::FakeShell shell;
  ShowUpdateStatus(form, L"Update available", L"https://x.example/first", shell);
  ShowUpdateStatus(form, L"Update available", L"https://x.example/notice", shell);
  Pump(50);
  auto* bar = dynamic_cast<UpdateStatusBar*>(form.FindComponent(L"StatusBar"));
  ASSERT_NE(bar, nullptr);
  int bars = 0;
  for (const Component* component : form.Components()) bars += static_cast<const Control*>(component)->Name() == L"StatusBar";
  EXPECT_EQ(bars, 1);
  const int dpi = form.Dpi();
  RECT after, contentAfter, barRect;
  GetClientRect(form.Handle(), &after);
  GetClientRect(content.Handle(), &contentAfter);
  GetClientRect(bar->Handle(), &barRect);
  EXPECT_EQ(barRect.bottom, Scale(28, dpi));
  EXPECT_EQ(after.bottom - before.bottom, Scale(28, dpi));
  EXPECT_EQ(contentAfter.bottom, contentBefore.bottom) << "the content keeps its size";

  wchar_t text[64] = {};
  SendMessageW(bar->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Update available") << "what a screen reader asks for";
  EXPECT_EQ(bar->cursor, IDC_HAND);
  // The text is drawn red and centred: the bar's middle holds red pixels.
  const HDC dc = GetDC(bar->Handle());
  int red = 0;
  for (int x = barRect.right / 2 - 40; x < barRect.right / 2 + 40; ++x) {
    for (int y = 0; y < barRect.bottom; ++y) red += GetPixel(dc, x, y) == RGB(255, 0, 0);
  }
  ReleaseDC(bar->Handle(), dc);
  EXPECT_GT(red, 20);

  NMHDR click{bar->Handle(), 0, static_cast<UINT>(NM_CLICK)};
  SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(shell.Opened, std::vector<std::wstring>{L"https://x.example/notice"});
}

TEST(UpdateStatus, AMaximisedWindowGrowsWhenRestored) {
  Form form(L"Form", L"Form", 300, 200);
  form.Show(SW_SHOWMAXIMIZED);
  Pump(50);
  platform::FakeShell shell;
  ShowUpdateStatus(form, L"Update available", L"https://x.example/notice", shell);
  ShowWindow(form.Handle(), SW_RESTORE);
  Pump(50);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.bottom, Scale(200 + 28, form.Dpi()));
}

// The hand-over to a window's thread: run there while the worker waits, refused once the window
// is gone, and served while CheckUpdate without a callback waits.
TEST(WindowThread, HandsOverToTheWindowsLoopAndRefusesAGoneWindow) {
  class Window final : public Form {
   public:
    Window() : Form(L"Form", L"Form", 100, 100) {}
   protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      return message == kHandOverMessage ? RunHandOver(lParam) : Form::OnMessage(message, wParam, lParam);
    }
  };
  auto window = std::make_unique<Window>();
  auto thread = std::make_shared<WindowThread>(window->Handle());
  platform::FakeShell shell;
  auto http = std::make_shared<platform::FakeHttp>();
  http->Answers = {R"({"update":"https://dl.example/s.exe"})"};
  const DWORD mainThread = GetCurrentThreadId();
  DWORD ranOn = 0;
  bool withinSend = true;
  struct OnThread final : UpdateNotification {
    DWORD& ranOn;
    bool& withinSend;
    OnThread(DWORD& ranOn, bool& withinSend) : ranOn(ranOn), withinSend(withinSend) {}
    bool UpdateDialog(const std::wstring&, int, const std::function<void()>&) override {
      ranOn = GetCurrentThreadId();
      withinSend = InSendMessage() != FALSE;
      return false;
    }
    void ShowUpdateStatus(const std::wstring&) override {}
  } onThread(ranOn, withinSend);
  CheckUpdate(L"https://api.example/api.init.php", nullptr, 10,
              UpdateCheck{http, Identity{[] { return std::wstring(L"1"); }, L"en", false, [] { return std::wstring(); }},
                          [](std::chrono::milliseconds) { return true; }, thread, &onThread, &shell});
  EXPECT_EQ(ranOn, mainThread) << "the dialog ran on the window's thread before CheckUpdate returned";
  EXPECT_FALSE(withinSend) << "not inside another thread's SendMessage, where COM calls are refused";

  const HWND gone = window->Handle();
  window.reset();
  EXPECT_FALSE(IsWindow(gone));
  bool ran = false;
  std::thread worker([&] { EXPECT_FALSE(WindowThread(gone).HandOver([&] { ran = true; })); });
  worker.join();
  EXPECT_FALSE(ran);
}

} // namespace
