// The least a program can do to list what the catalogue lists, as a yardstick for
// `tarnwick-cli list`: every value of the three Run keys with its data (RegEnumValueW), every
// file of the two Startup folders (FindFirstFileW), every Win32 service (EnumServicesStatusExW),
// and nothing else. Prints how many of each it met. The catalogue also needs each service's start
// type and path: with --service-registry this pass reads them as the catalogue does, from the
// values of the service's registry key (RegOpenKeyExW, RegEnumValueW); with --service-config
// from the service manager (OpenServiceW, QueryServiceConfigW for the size and for the data), as
// the catalogue does for a service whose key does not answer.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <vector>

namespace {

int RunValues(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return 0;
  static wchar_t name[16384];
  std::vector<BYTE> data(4096);
  DWORD count = 0;
  for (;;) {
    DWORD length = 16384, size = static_cast<DWORD>(data.size()), type = 0;
    const LSTATUS status = RegEnumValueW(opened, count, name, &length, nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) { // a value larger than the buffer: again with room for it
      data.resize(size);
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    ++count;
  }
  RegCloseKey(opened);
  return static_cast<int>(count);
}

int Files(int folder) {
  wchar_t path[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, folder, nullptr, 0, path))) return 0;
  lstrcatW(path, L"\\*");
  WIN32_FIND_DATAW found;
  const HANDLE find = FindFirstFileW(path, &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return count;
}

enum class Config { None, Registry, Manager };

// One enumeration of the values of the service's key.
void ReadServiceKey(const wchar_t* service, std::vector<BYTE>& data) {
  wchar_t key[300] = L"SYSTEM\\CurrentControlSet\\Services\\";
  lstrcatW(key, service);
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return;
  static wchar_t name[16384];
  for (DWORD i = 0;;) {
    DWORD length = 16384, size = static_cast<DWORD>(data.size()), type = 0;
    const LSTATUS status = RegEnumValueW(opened, i, name, &length, nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) {
      data.resize(size);
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    ++i;
  }
  RegCloseKey(opened);
}

int Services(Config config) {
  const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
  if (!manager) return 0;
  DWORD needed = 0, count = 0, resume = 0;
  EnumServicesStatusExW(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count,
                        &resume, nullptr);
  std::vector<BYTE> buffer(needed);
  resume = 0;
  if (!EnumServicesStatusExW(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(), needed,
                             &needed, &count, &resume, nullptr)) {
    count = 0;
  }
  const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  std::vector<BYTE> record(4096);
  for (DWORD i = 0; config == Config::Registry && i < count; ++i) ReadServiceKey(services[i].lpServiceName, record);
  for (DWORD i = 0; config == Config::Manager && i < count; ++i) {
    const SC_HANDLE service = OpenServiceW(manager, services[i].lpServiceName, SERVICE_QUERY_CONFIG);
    if (!service) continue;
    DWORD size = 0;
    QueryServiceConfigW(service, nullptr, 0, &size);
    record.resize(size);
    QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(record.data()), size, &size);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return static_cast<int>(count);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const Config config = argc < 2                                        ? Config::None
                        : lstrcmpW(argv[1], L"--service-registry") == 0 ? Config::Registry
                        : lstrcmpW(argv[1], L"--service-config") == 0   ? Config::Manager
                                                                        : Config::None;
  const wchar_t* run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const int values = RunValues(HKEY_LOCAL_MACHINE, run) +
                     RunValues(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run") +
                     RunValues(HKEY_CURRENT_USER, run);
  const int files = Files(CSIDL_COMMON_STARTUP) + Files(CSIDL_STARTUP);
  std::printf("%d Run values, %d Startup files, %d services\n", values, files, Services(config));
  return 0;
}
