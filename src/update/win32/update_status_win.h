#pragma once
// The notice of the start-up reply: a bold red status bar along the main window's bottom whose
// click opens the notice's address, shown as its tooltip.
#include <string>

#include "platform/shell.h"
#include "toolkit/win32/controls_win.h"

class UpdateStatusBar final : public StatusBar {
 public:
  UpdateStatusBar(Form& form, Control& parent, std::wstring name, platform::Shell& shell);
  // The panel's text (what SB_GETTEXT gives, however the panel is drawn) and the address.
  void SetNotice(const std::wstring& text, const std::wstring& address);
  const std::wstring& Address() const { return address_; }

  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void OnDpiChanged() override;

 protected:
  bool OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc);
  platform::Shell& shell_;
  std::wstring address_;
  platform::FontHandle font_;
  HWND tip_ = nullptr;
};

inline constexpr int kUpdateStatusHeight = 28; // at 96 DPI

// Shows `text` with `address` in the form's status bar "StatusBar", made the first time: the
// window grows by the bar's height, so the content keeps its size. A second call refreshes it.
void ShowUpdateStatus(Form& form, const std::wstring& text, const std::wstring& address, platform::Shell& shell);
