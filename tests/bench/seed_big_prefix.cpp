// Seeds the prefix it runs in with a large catalogue, for the window's benchmark: 2,000 Run
// values of the user, each starting a program file of its own (a link to notepad.exe, so that
// each has its own icon location and a real icon and version), 500 files in the user's Startup
// folder and 300 services. Idempotent.
#include <windows.h>

#include <shlobj.h>

#include <string>

namespace {

void Touch(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

std::wstring Numbered(const wchar_t* prefix, int n) {
  wchar_t digits[8];
  wsprintfW(digits, L"%04d", n);
  return prefix + std::wstring(digits);
}

} // namespace

int wmain() {
  CreateDirectoryW(L"C:\\TarnwickBench", nullptr);
  HKEY run = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                      KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &run, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  for (int i = 0; i < 2000; ++i) {
    const std::wstring file = Numbered(L"C:\\TarnwickBench\\app", i) + L".exe";
    if (!CreateHardLinkW(file.c_str(), L"C:\\windows\\system32\\notepad.exe", nullptr)) Touch(file);
    const std::wstring command = L"\"" + file + L"\" /background";
    RegSetValueExW(run, Numbered(L"BenchApp", i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(run);

  wchar_t startup[MAX_PATH];
  if (SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, startup) != S_OK) return 1;
  for (int i = 0; i < 500; ++i) Touch(std::wstring(startup) + L"\\" + Numbered(L"bench", i) + L".lnk");

  const SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!scm) return 1;
  for (int i = 0; i < 300; ++i) {
    const std::wstring name = Numbered(L"BenchService", i);
    const SC_HANDLE service = CreateServiceW(scm, name.c_str(), (name + L" service").c_str(), SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                             L"C:\\TarnwickBench\\service.exe", nullptr, nullptr, nullptr, nullptr,
                                             nullptr);
    if (service) CloseServiceHandle(service);
  }
  CloseServiceHandle(scm);
  return 0;
}
