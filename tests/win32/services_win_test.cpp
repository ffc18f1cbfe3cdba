#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

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
    AddServices(manager_, list_);
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
