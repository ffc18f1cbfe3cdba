#include "update/win32/update_dialog_win.h"

#include <algorithm>
#include <vector>

#include "toolkit/layout.h"
#include "toolkit/win32/dpi_win.h"
#include "update/reply.h"
#include "update/update_text.h"
#include "update/web_address.h"
#include "windows/gdi_win.h"

namespace {

constexpr int kMargin = 12, kIcon = 32, kGap = 12, kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 8;
constexpr int kTextWidth = 360, kExtraHeight = 17;
constexpr COLORREF kWhite = RGB(255, 255, 255), kLine = RGB(204, 204, 204), kLinkBlue = RGB(0, 0, 255);

struct Dialog {
  const UpdateDialogSetting& setting;
  const std::wstring& data;
  int offset;
  UpdateReply reply = ReadUpdateReply(data);
  platform::FontHandle font = {}, linkFont = {};
  platform::GdiObject<HBRUSH> white{CreateSolidBrush(kWhite)}, line{CreateSolidBrush(kLine)};
  HICON icon = nullptr;
  int iconSize = 0, dpi = 96;
  bool held = false;
};

HWND Child(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, HFONT font) {
  const HWND child = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// The question's sentences are parted by bare carriage returns: a static control breaks lines
// at line feeds.
std::wstring WithLineFeeds(const std::wstring& text) {
  std::wstring result;
  for (const wchar_t c : text) {
    result += c;
    if (c == L'\r') result += L'\n';
  }
  return result;
}

void Build(HWND window, Dialog& d) {
  d.dpi = DpiOf(window);
  const auto S = [&](int design) { return Scale(design, d.dpi); };
  LOGFONTW description = DesktopFont(d.dpi, false);
  d.font.reset(CreateFontIndirectW(&description));
  description.lfUnderline = TRUE;
  d.linkFont.reset(CreateFontIndirectW(&description));
  d.iconSize = S(kIcon);
  d.icon = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, d.iconSize, d.iconSize, 0));

  SetWindowTextW(window, d.setting.title.c_str());
  const std::wstring question = WithLineFeeds(UpdateText(0, d.setting.language));
  const HWND text = Child(window, L"STATIC", question, SS_LEFT | SS_NOPREFIX, -1, d.font.get());
  const HWND yes = Child(window, L"BUTTON", UpdateText(2, d.setting.language),
                         BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES, d.font.get());
  const HWND no = Child(window, L"BUTTON", UpdateText(3, d.setting.language), BS_PUSHBUTTON | WS_TABSTOP, IDNO,
                        d.font.get());

  // The question beside the icon, the buttons below both, right-aligned.
  RECT measured{0, 0, S(kTextWidth), 0};
  {
    const HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, d.font.get());
    DrawTextW(dc, question.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
  }
  const int textLeft = S(kMargin) + d.iconSize + S(kGap);
  MoveWindow(text, textLeft, S(kMargin), measured.right, measured.bottom, FALSE);
  const int buttonsTop = S(kMargin) + std::max<int>(d.iconSize, measured.bottom) + S(16);
  const int buttonsWidth = 2 * S(kButtonWidth) + S(kButtonGap);
  const int clientWidth = std::max<int>(textLeft + measured.right + S(kMargin), buttonsWidth + 2 * S(kMargin));
  const int clientHeight = buttonsTop + S(kButtonHeight) + S(kMargin);
  MoveWindow(yes, clientWidth - S(kMargin) - buttonsWidth, buttonsTop, S(kButtonWidth), S(kButtonHeight), FALSE);
  MoveWindow(no, clientWidth - S(kMargin) - S(kButtonWidth), buttonsTop, S(kButtonWidth), S(kButtonHeight), FALSE);

  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  int width = frame.right - frame.left, height = frame.bottom - frame.top;

  // What "info" asks for, placed by the window's outer height as the layout tables give it.
  if (!d.reply.style.empty()) {
    height += S(40 - d.offset);
    const HWND separator = Child(window, L"STATIC", L"", SS_LEFT, kUpdateSeparator, d.font.get());
    MoveWindow(separator, 0, height - S(76 - d.offset), width, 1, FALSE);
    const int top = height - S(66 - d.offset), left = S(10);
    if (d.reply.style == L"hold") {
      const HWND box = Child(window, L"BUTTON", d.reply.text, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kUpdateHoldBox,
                             d.font.get());
      MoveWindow(box, left, top, width - left, S(kExtraHeight), FALSE);
    } else if (d.reply.style == L"note") {
      const HWND link = Child(window, L"BUTTON", d.reply.text, BS_OWNERDRAW | WS_TABSTOP | WS_GROUP, kUpdateNoteLink,
                              d.linkFont.get());
      MoveWindow(link, left, top, width - left, S(kExtraHeight), FALSE);
    }
  }

  // Centred on the screen, on top of everything when the reply asks for it.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const bool topmost = d.reply.flag.find(L"stayontop") != std::wstring::npos;
  SetWindowPos(window, topmost ? HWND_TOPMOST : nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               topmost ? SWP_NOACTIVATE : SWP_NOZORDER | SWP_NOACTIVATE);
  if (topmost && !(d.setting.owner && IsWindowVisible(d.setting.owner))) {
    // Without a shown main window the dialog stands alone on the taskbar, with the program's
    // icon: the program carries none of its own, so the system's application icon.
    const HICON programIcon = LoadIconW(nullptr, IDI_APPLICATION);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon));
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
  }
  SendMessageW(window, DM_SETDEFID, IDYES, 0);
  SetFocus(yes);
}

void DrawLink(const DRAWITEMSTRUCT& item, const Dialog& d) {
  FillRect(item.hDC, &item.rcItem, d.white.get());
  wchar_t text[512] = {};
  GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
  const HGDIOBJ old = SelectObject(item.hDC, d.linkFont.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kLinkBlue);
  RECT bounds = item.rcItem;
  DrawTextW(item.hDC, text, -1, &bounds, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CALCRECT);
  bounds.bottom = item.rcItem.bottom;
  bounds.top = item.rcItem.top;
  DrawTextW(item.hDC, text, -1, &bounds, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &bounds);
  SelectObject(item.hDC, old);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      Build(window, *reinterpret_cast<Dialog*>(lParam));
      return FALSE; // the focus is set
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      const int margin = Scale(kMargin, d->dpi);
      if (d->icon) DrawIconEx(dc, margin, margin, d->icon, d->iconSize, d->iconSize, 0, nullptr, DI_NORMAL);
      EndPaint(window, &paint);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(d->white.get());
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
      return reinterpret_cast<INT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kUpdateSeparator ? d->line.get()
                                                                                                 : d->white.get());
    case WM_DRAWITEM:
      if (wParam == kUpdateNoteLink) {
        DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), *d);
        return TRUE;
      }
      return FALSE;
    case WM_SETCURSOR:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == kUpdateNoteLink) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kUpdateNoteLink: // the note's address; the dialog stays
          if (HIWORD(wParam) == BN_CLICKED && IsWebAddress(d->reply.url)) d->setting.shell.ShellOpen(d->reply.url);
          return TRUE;
        case IDYES:
        case IDNO:
        case IDCANCEL:
          d->held = IsDlgButtonChecked(window, kUpdateHoldBox) == BST_CHECKED;
          EndDialog(window, LOWORD(wParam));
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      if (d && d->icon) DestroyIcon(d->icon);
      return FALSE;
    default:
      return FALSE;
  }
}

} // namespace

bool UpdateDialog(const UpdateDialogSetting& setting, const std::wstring& data, int dialogOffset,
                  const std::function<void()>& hold) {
  // An empty template: the dialog's controls are made at its DPI when it starts.
  alignas(DWORD) WORD blank[sizeof(DLGTEMPLATE) / sizeof(WORD) + 3] = {};
  auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(blank);
  dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dialogTemplate->dwExtendedStyle = WS_EX_DLGMODALFRAME;
  Dialog d{setting, data, dialogOffset};
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, setting.owner, DialogProc,
                              reinterpret_cast<LPARAM>(&d));
  if (d.held && hold) hold();
  return result == IDYES;
}
