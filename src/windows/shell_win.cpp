#include "windows/shell_win.h"

#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shlobj.h>
#include <shldisp.h>

#include <string>

#include "windows/com_ptr.h"

namespace platform {

namespace {

// The desktop's own shell, reached through the running Explorer's window list: its ShellExecute
// runs in Explorer's process, so what it starts has Explorer's rights, not this program's.
ComPtr<IShellDispatch2> DesktopShell() {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              reinterpret_cast<void**>(windows.put())))) {
    return {};
  }
  VARIANT none;
  VariantInit(&none);
  long window = 0;
  ComPtr<IDispatch> desktop;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.put()) != S_OK ||
      !desktop ||
      FAILED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.put()))) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, reinterpret_cast<void**>(browser.put()))) ||
      FAILED(browser->QueryActiveShellView(view.put())) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(background.put()))) ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, reinterpret_cast<void**>(folderView.put()))) ||
      FAILED(folderView->get_Application(application.put())) ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(shell.put())))) {
    return {};
  }
  return shell;
}

} // namespace

bool Win32Shell::ShellOpen(std::wstring_view address) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool opened = false;
  if (const ComPtr<IShellDispatch2> shell = DesktopShell()) {
    const Bstr file(SysAllocStringLen(address.data(), static_cast<UINT>(address.size())));
    const Bstr open(SysAllocString(L"open"));
    VARIANT none, verb, show;
    VariantInit(&none);
    VariantInit(&verb);
    verb.vt = VT_BSTR;
    verb.bstrVal = open.get();
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    opened = file && open && SUCCEEDED(shell->ShellExecute(file.get(), none, none, verb, show));
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return opened;
}

} // namespace platform
