#include "toolkit/win32/list_view_win.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/win32/dpi_win.h"
#include "windows/gdi_win.h"
#include "windows/system_dll.h"

ListView::ListView(Form& form, Control& parent, std::wstring name) : Control(form, &parent, std::move(name), false) {
  CreateWindowOf(
      WC_LISTVIEWW,
      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
      WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(window_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  // The explorer look comes from uxtheme, which is no known DLL: it is loaded from System32.
  static const platform::SystemDll uxtheme(L"uxtheme.dll");
  if (const auto setTheme = uxtheme.Function<HRESULT WINAPI(HWND, LPCWSTR, LPCWSTR)>("SetWindowTheme")) {
    setTheme(window_, L"Explorer", nullptr);
  }
  SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  SetWindowSubclass(ListView_GetHeader(window_), HeaderProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void ListView::SetHeaderHeight(int designPixels) { headerHeight_ = designPixels; }

LRESULT CALLBACK ListView::HeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(header, HeaderProc, 1);
  const LRESULT result = DefSubclassProc(header, message, wParam, lParam);
  const int designHeight = reinterpret_cast<ListView*>(self)->headerHeight_;
  if (message != HDM_LAYOUT || !result || designHeight <= 0) return result;
  // The design height where the header's font fits in it; else the smallest height that shows
  // the captions whole: the text and the item's two edges of two pixels.
  TEXTMETRICW text{};
  if (const HDC dc = GetDC(header)) {
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc, &text);
    SelectObject(dc, old);
    ReleaseDC(header, dc);
  }
  const int height = std::max<int>(Scale(designHeight, DpiOf(header)), text.tmHeight + 4);
  HDLAYOUT& layout = *reinterpret_cast<HDLAYOUT*>(lParam);
  layout.pwpos->cy = height;
  layout.prc->top = layout.pwpos->y + height;
  return result;
}

void ListView::SetColumns(const std::vector<Column>& columns) {
  columns_ = columns;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns[i].caption.c_str());
    column.cx = Scale(columns[i].width, Dpi());
    column.iSubItem = i;
    ListView_InsertColumn(window_, i, &column);
  }
  FitFirstColumn();
}

void ListView::FitFirstColumn() {
  if (columns_.empty()) return;
  RECT client;
  GetClientRect(window_, &client);
  int others = 0;
  for (std::size_t i = 1; i < columns_.size(); ++i) {
    ListView_SetColumnWidth(window_, static_cast<int>(i), Scale(columns_[i].width, Dpi()));
    others += Scale(columns_[i].width, Dpi());
  }
  ListView_SetColumnWidth(window_, 0, std::max(0, static_cast<int>(client.right) - others));
}

void ListView::OnDpiChanged() {
  Control::OnDpiChanged();
  FitFirstColumn(); // the fixed columns' design widths at the new DPI
}

void ListView::SetImages(HIMAGELIST images) { ListView_SetImageList(window_, images, LVSIL_SMALL); }

int ListView::ImageHeightFor(int rowHeight) {
  const int wanted = Scale(rowHeight, Dpi());
  const platform::OwnedImageList probe(ImageList_Create(1, wanted, ILC_COLOR32, 1, 1));
  const HIMAGELIST old = ListView_SetImageList(window_, probe.get(), LVSIL_SMALL);
  const int rows = RowCount();
  ListView_SetItemCountEx(window_, std::max(rows, 1), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  RECT row{};
  ListView_GetItemRect(window_, 0, &row, LVIR_BOUNDS);
  ListView_SetItemCountEx(window_, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  ListView_SetImageList(window_, old, LVSIL_SMALL);
  const int measured = row.bottom - row.top;
  return measured > 0 ? wanted - (measured - wanted) : wanted;
}

void ListView::SetRowCount(int count) {
  ListView_SetItemCountEx(window_, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  Redraw();
}

int ListView::RowCount() const { return ListView_GetItemCount(window_); }

void ListView::Redraw() { InvalidateRect(window_, nullptr, FALSE); }

int ListView::FocusedRow() const { return ListView_GetNextItem(window_, -1, LVNI_FOCUSED); }

int ListView::SelectedRow() const { return ListView_GetNextItem(window_, -1, LVNI_SELECTED); }

void ListView::SelectRow(int row, bool scroll) {
  // Row by row, never all rows at once (-1), which costs a notification per row: a single-
  // selection list lets go of the old row when it selects and focuses a new one.
  for (const int old : {SelectedRow(), FocusedRow()}) {
    if (old >= 0 && old != row) ListView_SetItemState(window_, old, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
  if (row >= 0) {
    ListView_SetItemState(window_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (scroll) ListView_EnsureVisible(window_, row, FALSE);
  }
}

bool ListView::OnNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item;
      if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) {
        const std::wstring text = Text ? Text(item.iItem, item.iSubItem) : std::wstring();
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
      }
      if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 && ImageIndex ? ImageIndex(item.iItem) : I_IMAGENONE;
      result = 0;
      return true;
    }
    case LVN_GETINFOTIPW: {
      auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(&header));
      if (!tip.pszText || tip.cchTextMax <= 0) return false;
      // A row whose text is cut off comes with its whole text, to be shown first; an unfolded
      // one with none.
      std::wstring text = (tip.dwFlags & LVGIT_UNFOLDED) ? std::wstring() : std::wstring(tip.pszText);
      const std::wstring more = Tip ? Tip(tip.iItem) : std::wstring();
      if (!more.empty()) text += (text.empty() ? L"" : L"\r\n") + more;
      lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
      result = 0;
      return true;
    }
    case NM_CUSTOMDRAW: {
      auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
      switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
          result = CDRF_NOTIFYITEMDRAW;
          return true;
        case CDDS_ITEMPREPAINT:
          result = CDRF_NOTIFYSUBITEMDRAW;
          return true;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
          const int row = static_cast<int>(draw.nmcd.dwItemSpec);
          if (Greyed && Greyed(row)) draw.clrText = GetSysColor(COLOR_GRAYTEXT);
          const HFONT font = ColumnFont ? ColumnFont(draw.iSubItem) : nullptr;
          SelectObject(draw.nmcd.hdc, font ? font : OwnerForm().Font());
          result = CDRF_NEWFONT;
          return true;
        }
        default:
          return false;
      }
    }
    case LVN_ITEMCHANGED: {
      // Only a change of the selection: the list also reports rows whose state stayed as it was.
      const auto& change = *reinterpret_cast<const NMLISTVIEW*>(&header);
      const bool selection = (change.uChanged & LVIF_STATE) &&
                             (change.iItem < 0 || ((change.uOldState ^ change.uNewState) & LVIS_SELECTED));
      if (selection && OnSelectionChange) RunHandler(OnSelectionChange);
      return false;
    }
    case NM_DBLCLK:
      RunHandler(OnDoubleClick);
      return false;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(&header)->wVKey;
      if (OnKeyDown) RunHandler([&] { OnKeyDown(key); });
      return false;
    }
    default:
      return false;
  }
}

bool ListView::OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE: // the first column takes what the others leave, at every size
      result = DefSubclassProc(window_, message, wParam, lParam);
      FitFirstColumn();
      return true;
    case WM_SYSKEYDOWN: // Alt and a key: no LVN_KEYDOWN comes for it
      if (OnKeyDown) RunHandler([&] { OnKeyDown(static_cast<WORD>(wParam)); });
      return false;
    case WM_CONTEXTMENU: {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (screen.x == -1 && screen.y == -1) { // from the keyboard: below the focused row
        RECT row{};
        const int focused = FocusedRow();
        if (focused >= 0) ListView_GetItemRect(window_, focused, &row, LVIR_BOUNDS);
        screen = {row.left + 8, row.bottom};
        ClientToScreen(window_, &screen);
      }
      if (OnContextMenu) RunHandler([&] { OnContextMenu(screen); });
      result = 0;
      return true;
    }
    default:
      return Control::OnStandardMessage(message, wParam, lParam, result);
  }
}
