#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>
#include <type_traits>
#include <vector>

#include "autorun/service_source.h"
#include "common/registry_paths.h"
#include "contract/services_contract.h"
#include "support/reg.h"
#include "windows/registry_win.h"
#include "windows/services_win.h"
#include "wine.h"

namespace {

// The service contract against the real manager: the scratch service is a real one.
class Win32ServicesBed final : public ServicesBed {
 public:
  Win32ServicesBed() : scm_(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {}
  ~Win32ServicesBed() override { CloseServiceHandle(scm_); }
  platform::ServiceManager& Manager() override { return manager_; }
  void Add(const std::wstring& name, const std::wstring& display, const std::wstring& path) override {
    Remove(name);
    const SC_HANDLE service = CreateServiceW(scm_, name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                             path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(service, nullptr) << GetLastError();
    CloseServiceHandle(service);
  }
  void Remove(const std::wstring& name) override {
    if (const SC_HANDLE old = OpenServiceW(scm_, name.c_str(), DELETE)) {
      DeleteService(old);
      CloseServiceHandle(old);
    }
  }

 private:
  SC_HANDLE scm_;
  platform::Win32ServiceManager manager_;
};

INSTANTIATE_TEST_SUITE_P(Win32, ServicesContract,
                         ::testing::Values(ServicesTarget{"Win32", [] { return std::make_unique<Win32ServicesBed>(); },
                                                          OnWine()}),
                         [](const auto& info) { return info.param.name; });

constexpr wchar_t kName[] = L"TarnwickTestSvc";
constexpr wchar_t kDisplay[] = L"Tarnwick test service";
constexpr wchar_t kPath[] = L"\"C:\\Program Files\\Tarnwick Test\\svc.exe\" -k netsvcs /x";

// A service of the test's own, created with manual start and removed afterwards.
class Win32Services : public ::testing::Test {
 protected:
  void SetUp() override {
    scm_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(scm_, nullptr);
    Remove();
    service_ =
        CreateServiceW(scm_, kName, kDisplay, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                       SERVICE_ERROR_NORMAL, kPath, nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(service_, nullptr) << GetLastError();
  }
  void TearDown() override {
    if (service_) CloseServiceHandle(service_);
    Remove();
    if (scm_) CloseServiceHandle(scm_);
  }
  void Remove() {
    if (SC_HANDLE old = OpenServiceW(scm_, kName, DELETE)) {
      DeleteService(old);
      CloseServiceHandle(old);
    }
  }

  const TAutorunInfo* Listed(const wchar_t* name) {
    list_.clear();
    AddServices(manager_, registry_, list_);
    const auto it = std::find_if(list_.begin(), list_.end(), [&](const auto& e) { return e->Target == name; });
    return it == list_.end() ? nullptr : it->get();
  }
  std::int32_t StoredStartType() {
    return TReg(registry_).ReadInteger(platform::kLocalMachine, keys::kServices + L"\\" + kName, L"Start", -1);
  }

  SC_HANDLE scm_ = nullptr;
  SC_HANDLE service_ = nullptr;
  platform::Win32ServiceManager manager_;
  platform::Win32Registry registry_;
  AutorunList list_;
};

TEST_F(Win32Services, ListsWinesOwnServicesWithNamesAndPaths) {
  const TAutorunInfo* rpc = Listed(L"RpcSs");
  ASSERT_NE(rpc, nullptr);
  EXPECT_FALSE(rpc->Caption.empty());
  EXPECT_NE(rpc->FileName.find(L".exe"), std::wstring::npos) << "binary path: " << rpc->FileName.size();
  EXPECT_EQ(rpc->RawData, rpc->FileName);
  EXPECT_EQ(rpc->From, L"SERV");
  for (const auto& entry : list_) EXPECT_FALSE(entry->Target.empty());
  EXPECT_EQ(Listed(L"MountMgr"), nullptr) << "drivers are not listed";
}

TEST_F(Win32Services, ManualStartIsListedDisabledWithItsPathUnchanged) {
  const TAutorunInfo* entry = Listed(kName);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->Enabled);
  EXPECT_EQ(entry->Caption, kDisplay);
  EXPECT_EQ(entry->FileName, kPath);
  EXPECT_EQ(entry->RawData, kPath);
}

TEST_F(Win32Services, EnablingSetsAutomaticAndDisablingSetsDisabled) {
  SetServiceEnabled(manager_, kName, true);
  EXPECT_EQ(StoredStartType(), 2);
  const TAutorunInfo* entry = Listed(kName);
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->Enabled);

  SetServiceEnabled(manager_, kName, false);
  EXPECT_EQ(StoredStartType(), 4) << "disabled, never manual start";
  entry = Listed(kName);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->Enabled);
  EXPECT_EQ(entry->FileName, kPath) << "switching leaves the binary path alone";
}

TEST_F(Win32Services, SwitchingAnUnknownServiceChangesNothing) {
  SetServiceEnabled(manager_, L"TarnwickNoSuchService", true);
  EXPECT_EQ(StoredStartType(), 3);
}

} // namespace

namespace {

using ScPtr = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, decltype(&CloseServiceHandle)>;
ScPtr Own(SC_HANDLE handle) { return ScPtr(handle, &CloseServiceHandle); }

struct ManagerAnswer {
  std::wstring name, display, path;
  DWORD startType;
};

// Every Win32 service as EnumServicesStatusW lists it and QueryServiceConfigW answers for it.
std::vector<ManagerAnswer> AskTheManager() {
  const ScPtr scm = Own(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
  DWORD needed = 0, count = 0, resume = 0;
  EnumServicesStatusW(scm.get(), SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, &resume);
  std::vector<BYTE> buffer(needed);
  resume = 0;
  if (!EnumServicesStatusW(scm.get(), SERVICE_WIN32, SERVICE_STATE_ALL,
                           reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data()), needed, &needed, &count, &resume)) {
    ADD_FAILURE() << GetLastError();
    return {};
  }
  std::vector<ManagerAnswer> answers;
  const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUSW*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    const ScPtr service = Own(OpenServiceW(scm.get(), services[i].lpServiceName, SERVICE_QUERY_CONFIG));
    DWORD size = 0;
    QueryServiceConfigW(service.get(), nullptr, 0, &size);
    std::vector<BYTE> record(size);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(record.data());
    if (!QueryServiceConfigW(service.get(), config, size, &size)) continue;
    answers.push_back(
        {services[i].lpServiceName, services[i].lpDisplayName, config->lpBinaryPathName, config->dwStartType});
  }
  return answers;
}

// Start and ImagePath as the service's key holds them, when both are there as the system loads
// them: a DWORD and a string.
std::optional<std::pair<DWORD, std::wstring>> ReadTheKey(const std::wstring& service) {
  const std::wstring key = keys::kServices + L"\\" + service;
  DWORD start = 0, size = sizeof(start), type = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Start", RRF_RT_REG_DWORD, &type, &start, &size) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t path[4096];
  size = sizeof(path);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ImagePath", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   &type, path, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::pair{start, std::wstring(path)};
}

// Scratch services of this test's own: one whose path names variables, stored expandable as the
// system stores such paths (Wine stores what CreateServiceW gets as plain text; the manager
// expands an expandable one as it loads it), and one whose key lost its Start value. The manager
// keeps what it was given in both cases.
class Win32ServiceKeys : public ::testing::Test {
 protected:
  static constexpr wchar_t kVariable[] = L"TarnwickTestSvcVar";
  static constexpr wchar_t kNoStart[] = L"TarnwickTestSvcNoStart";

  void SetUp() override {
    scm_ = Own(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_NE(scm_, nullptr);
    Remove();
    for (const auto& [name, start, path] :
         {std::tuple{kVariable, SERVICE_DEMAND_START, L"%SystemRoot%\\tarnwick-test.exe -k %ProgramFiles%"},
          std::tuple{kNoStart, SERVICE_AUTO_START, L"C:\\Tarnwick Test\\no-start.exe"}}) {
      const ScPtr service =
          Own(CreateServiceW(scm_.get(), name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, start,
                             SERVICE_ERROR_NORMAL, path, nullptr, nullptr, nullptr, nullptr, nullptr));
      ASSERT_NE(service, nullptr) << GetLastError();
    }
    const std::wstring path = L"%SystemRoot%\\tarnwick-test.exe -k %ProgramFiles%";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (keys::kServices + L"\\" + kVariable).c_str(), L"ImagePath",
                              REG_EXPAND_SZ, path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    TReg(registry_).DeleteValue(platform::kLocalMachine, keys::kServices + L"\\" + kNoStart, L"Start");
    ASSERT_EQ(ReadTheKey(kNoStart), std::nullopt) << "the Start value is gone";
  }
  void TearDown() override { Remove(); }
  void Remove() {
    for (const wchar_t* name : {kVariable, kNoStart}) {
      if (const ScPtr old = Own(OpenServiceW(scm_.get(), name, DELETE))) DeleteService(old.get());
    }
  }

  ScPtr scm_ = Own(nullptr);
  platform::Win32ServiceManager manager_;
  platform::Win32Registry registry_;
};

TEST_F(Win32ServiceKeys, EveryServiceIsListedAsTheManagerAnswersForIt) {
  const std::vector<ManagerAnswer> answers = AskTheManager();
  AutorunList list;
  AddServices(manager_, registry_, list);
  ASSERT_EQ(list.size(), answers.size());
  std::size_t fromKeys = 0;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const ManagerAnswer& answer = answers[i];
    EXPECT_EQ(list[i]->Target, answer.name);
    EXPECT_EQ(list[i]->Caption, answer.display) << answer.name;
    EXPECT_EQ(list[i]->StartType, answer.startType) << answer.name;
    EXPECT_EQ(list[i]->Enabled, answer.startType == SERVICE_AUTO_START) << answer.name;
    EXPECT_EQ(list[i]->FileName, answer.path) << answer.name;
    EXPECT_EQ(list[i]->RawData, answer.path) << answer.name;
    // Where the key holds what the manager loads, it says what the manager says.
    const auto key = ReadTheKey(answer.name);
    if (!key || key->second.find(L'%') != std::wstring::npos) continue;
    ++fromKeys;
    EXPECT_EQ(key->first, answer.startType) << answer.name;
    EXPECT_EQ(key->second, answer.path) << answer.name;
  }
  // Most keys answer (all but Wine's device hosts, which have none, and the scratch services).
  EXPECT_GT(fromKeys, answers.size() / 2);
  const auto noStart = std::find_if(list.begin(), list.end(), [](const auto& e) { return e->Target == kNoStart; });
  ASSERT_NE(noStart, list.end()) << "a key without Start leaves the service to the manager";
  EXPECT_EQ((*noStart)->StartType, static_cast<std::uint32_t>(SERVICE_AUTO_START));
  EXPECT_EQ((*noStart)->FileName, L"C:\\Tarnwick Test\\no-start.exe");
}

} // namespace
