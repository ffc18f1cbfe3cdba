#pragma once
// A list of rows in report mode that asks for each row's texts, image, colour and font as it
// draws them (SysListView32 with LVS_OWNERDATA), so screen readers and UI Automation read it like
// any list. Full-row single selection, the system's explorer look, column headers that do not
// sort, a hidden focus rectangle, and a row's own tooltip where the system shows one.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/win32/controls_win.h"

class ListView : public Control {
 public:
  struct Column {
    std::wstring caption;
    int width; // design pixels; the first column takes what the others leave
  };
  ListView(Form& form, Control& parent, std::wstring name);

  void SetColumns(const std::vector<Column>& columns);
  // The header's height in design pixels, where its font fits in it; else the smallest height
  // that shows the captions whole. It takes effect at the list's next layout.
  void SetHeaderHeight(int designPixels);
  // The small images. A row is as high as an image cell plus what the system adds, which
  // differs between systems: ImageHeightFor measures it and gives the cell height that makes
  // rows `rowHeight` design pixels high.
  void SetImages(HIMAGELIST images);
  int ImageHeightFor(int rowHeight);
  // The number of rows; the selection, the focus and the scroll position stay.
  void SetRowCount(int count);
  int RowCount() const;
  void Redraw();
  // The focused row, or -1.
  int FocusedRow() const;
  // The first selected row, or -1.
  int SelectedRow() const;
  // Selects and focuses `row` (-1: none), scrolled into view when `scroll`.
  void SelectRow(int row, bool scroll = true);

  std::function<std::wstring(int row, int column)> Text;
  std::function<int(int row)> ImageIndex;      // of column 0
  std::function<bool(int row)> Greyed;         // drawn in the system's grey-text colour
  std::function<HFONT(int column)> ColumnFont; // null: the list's font
  std::function<std::wstring(int row)> Tip;    // more about a row when the mouse rests on it; empty: none
  std::function<void()> OnSelectionChange; // by the mouse, the keyboard or the program
  std::function<void()> OnDoubleClick;
  std::function<void(WORD key)> OnKeyDown; // with or without Shift, Ctrl or Alt
  std::function<void(POINT screen)> OnContextMenu;

  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  bool OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void FitFirstColumn();
  static LRESULT CALLBACK HeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
  std::vector<Column> columns_;
  int headerHeight_ = 0; // design pixels; 0: the system's
};
