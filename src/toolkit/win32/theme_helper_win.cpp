#include "toolkit/win32/theme_helper_win.h"

#include <commctrl.h>

#include <stdexcept>

#include "windows/system_dll.h"

namespace {

constexpr UINT_PTR kHookId = 0x7468; // "th"
constexpr DWORD kUseImmersiveDarkMode = 20;

} // namespace

TThemeHelper::TThemeHelper(Form& form) : Control(form, nullptr, L"ThemeHelper", false), FForm(form) {
  // Dark title bar; systems that do not know the attribute ignore it, and so does the helper.
  static const platform::SystemDll dwmapi(L"dwmapi.dll");
  if (const auto setAttribute = dwmapi.Function<HRESULT WINAPI(HWND, DWORD, LPCVOID, DWORD)>("DwmSetWindowAttribute")) {
    const DWORD dark = 0xFFFFFFFF;
    setAttribute(FForm.Handle(), kUseImmersiveDarkMode, &dark, sizeof(dark));
  }
  FShape = &FForm.Make<Shape>(FForm, L"ThemeLine");
  FShape->align = Align::Top;
  FShape->bounds = {0, 0, 0, 2};
  FShape->SetFill(FActiveColor);
  FForm.MoveToFront(*FShape);
  hooked_ = SetWindowSubclass(FForm.Handle(), FormWindowProc, kHookId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  UpdateShape();
}

TThemeHelper::~TThemeHelper() {
  if (hooked_ && FForm.Handle()) RemoveWindowSubclass(FForm.Handle(), FormWindowProc, kHookId);
}

void TThemeHelper::UpdateShape() {
  FShape->SetFill(FIsActive ? FActiveColor : FromColorRef(GetSysColor(COLOR_GRAYTEXT)));
  FShape->SetVisible(FForm.HasBorder());
}

LRESULT CALLBACK TThemeHelper::FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
  auto* helper = reinterpret_cast<TThemeHelper*>(data);
  switch (message) {
    case WM_SIZE:
      helper->UpdateShape();
      break;
    case WM_ACTIVATE:
      helper->FIsActive = LOWORD(wParam) != WA_INACTIVE;
      helper->UpdateShape();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, FormWindowProc, kHookId);
      helper->hooked_ = false;
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam); // every message goes on unchanged
}

TThemeHelper& CreateThemeHelper(Control& owner) {
  auto* form = dynamic_cast<Form*>(&owner);
  if (!form) throw std::invalid_argument("TThemeHelper Owner must be a TForm");
  return form->Make<TThemeHelper>();
}
