#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "autorun/service_source.h"
#include "common/bytes.h"
#include "common/registry_paths.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "support/reg.h"

namespace {

using namespace win;
using platform::FakeRegistry;
using platform::FakeServiceManager;

class Services : public ::testing::Test {
 protected:
  void SetUp() override {
    scm.Services = {
        {L"Auto", L"Automatic service", L"C:\\auto.exe", kServiceAutoStart},
        {L"Manual", L"Manual service", L"\"C:\\Program Files\\App\\svc.exe\" -k netsvcs /x", kServiceDemandStart},
        {L"Off", L"Disabled service", L"C:\\off.exe", kServiceDisabled, kServiceWin32ShareProcess},
        {L"Driver", L"Kernel driver", L"\\SystemRoot\\driver.sys", kServiceAutoStart, 1},
        {L"Boot", L"Boot start", L"C:\\boot.exe", 0},
    };
  }
  void TearDown() override {
    EXPECT_EQ(scm.OpenHandles(), 0u) << "a handle was left open";
    EXPECT_EQ(registry.OpenHandles(), 0u) << "a key was left open";
  }

  static std::wstring Key(const std::wstring& service) { return keys::kServices + L"\\" + service; }
  // Writes the value into the service's key, created when missing.
  void Write(const std::wstring& service, std::wstring_view name, std::uint32_t type, std::vector<std::byte> data) {
    platform::HKey key = 0;
    ASSERT_EQ(registry.CreateKey(platform::kLocalMachine, Key(service), kKeyWrite, key), kErrorSuccess);
    registry.WriteValue(key, name, type, data);
    registry.CloseKey(key);
  }
  // A key that holds what the manager loaded at boot: a start type and an image path.
  void WriteKey(const std::wstring& service, std::uint32_t start, std::wstring_view path,
                std::uint32_t pathType = kRegExpandSz) {
    Write(service, L"Type", kRegDword, Bytes({0x10, 0, 0, 0}));
    Write(service, L"Start", kRegDword, Bytes({static_cast<int>(start), 0, 0, 0}));
    Write(service, L"ImagePath", pathType, Text16(path));
  }

  std::vector<std::wstring> Targets() const {
    std::vector<std::wstring> targets;
    for (const auto& entry : list) targets.push_back(entry->Target);
    return targets;
  }

  FakeServiceManager scm;
  FakeRegistry registry;
  AutorunList list;
};

TEST_F(Services, ListsEveryWin32ServiceWithItsFields) {
  list.push_back(std::make_unique<TAutorunInfo>());
  AddServices(scm, registry, list);
  ASSERT_EQ(list.size(), 5u) << "appended after what the list held; drivers are not listed";
  const TAutorunInfo& manual = *list[2];
  EXPECT_EQ(manual.FileName, L"\"C:\\Program Files\\App\\svc.exe\" -k netsvcs /x");
  EXPECT_EQ(manual.RawData, manual.FileName);
  EXPECT_EQ(manual.Caption, L"Manual service");
  EXPECT_EQ(manual.Target, L"Manual");
  EXPECT_EQ(manual.From, L"SERV");
  const bool enabled[] = {true, false, false, false};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(list[i + 1]->Enabled, enabled[i]) << i;
  EXPECT_EQ(scm.ManagerAccess, std::vector<std::uint32_t>{5});
  EXPECT_EQ(scm.ServiceAccess, std::vector<std::uint32_t>(4, 1));
  EXPECT_EQ(scm.EnumerationCalls, 2u);
}

TEST_F(Services, FailuresLeaveOutWhatCannotBeRead) {
  scm.FailOpenManager = true;
  AddServices(scm, registry, list);
  EXPECT_TRUE(list.empty()) << "manager cannot be opened";

  scm.FailOpenManager = false;
  scm.AddServiceBetweenCalls = true;
  AddServices(scm, registry, list);
  EXPECT_TRUE(list.empty()) << "services changed between the two enumeration calls";
  EXPECT_EQ(scm.EnumerationCalls, 2u);

  scm.AddServiceBetweenCalls = false;
  scm.Services[0].CanOpen = false;
  scm.Services[2].CanQuery = false;
  AddServices(scm, registry, list);
  EXPECT_EQ(Targets(), (std::vector<std::wstring>{L"Manual", L"Boot", L"Late"}));

  scm.Services.clear();
  list.clear();
  AddServices(scm, registry, list);
  EXPECT_TRUE(list.empty()) << "no services at all";
}

TEST_F(Services, TheServiceKeyAnswersWithoutAskingTheManager) {
  // The manager's answers differ from the keys' here, so that the one that was read shows.
  WriteKey(L"Auto", kServiceDisabled, L"C:\\registry\\auto.exe");
  WriteKey(L"manual", kServiceAutoStart, L"\"C:\\Program Files\\App\\svc.exe\" %1 -k", kRegSz);
  Write(L"Off", L"imagepath", kRegSz, Text16(L"C:\\off.exe\0trailing"));
  Write(L"Off", L"START", kRegDword, Bytes({3, 0, 0, 0}));
  WriteKey(L"Boot", 0, L"C:\\boot.exe");
  AddServices(scm, registry, list);
  ASSERT_EQ(Targets(), (std::vector<std::wstring>{L"Auto", L"Manual", L"Off", L"Boot"}))
      << "the manager's list and order";
  const struct {
    const wchar_t* caption;
    std::uint32_t startType;
    const wchar_t* path;
  } expected[] = {
      {L"Automatic service", kServiceDisabled, L"C:\\registry\\auto.exe"},
      {L"Manual service", kServiceAutoStart, L"\"C:\\Program Files\\App\\svc.exe\" %1 -k"},
      {L"Disabled service", kServiceDemandStart, L"C:\\off.exe"},
      {L"Boot start", 0, L"C:\\boot.exe"},
  };
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i]->Caption, expected[i].caption) << i;
    EXPECT_EQ(list[i]->StartType, expected[i].startType) << i;
    EXPECT_EQ(list[i]->Enabled, expected[i].startType == kServiceAutoStart) << i;
    EXPECT_EQ(list[i]->FileName, expected[i].path) << i;
    EXPECT_EQ(list[i]->RawData, expected[i].path) << i;
    EXPECT_EQ(list[i]->From, L"SERV") << i;
  }
  EXPECT_TRUE(scm.ServiceAccess.empty()) << "no service was opened";
}

TEST_F(Services, AKeyWithoutAUsableAnswerLeavesTheServiceToTheManager) {
  // Each spoils a key that would answer.
  std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"no key", [this] { TReg(registry).DeleteKey(platform::kLocalMachine, keys::kServices, L"Svc"); }},
      {"key not readable", [this] { registry.RestrictAccess(platform::kLocalMachine, Key(L"Svc"), 0); }},
      {"no Start", [this] { TReg(registry).DeleteValue(platform::kLocalMachine, Key(L"Svc"), L"Start"); }},
      {"no ImagePath", [this] { TReg(registry).DeleteValue(platform::kLocalMachine, Key(L"Svc"), L"ImagePath"); }},
  };
  const struct {
    const char* why;
    const wchar_t* name;
    std::uint32_t type;
    std::vector<std::byte> data;
  } values[] = {
      {"Start as text", L"Start", kRegSz, Text16(L"2")},
      {"Start as bytes", L"Start", kRegBinary, Bytes({2, 0, 0, 0})},
      {"Start big-endian", L"Start", kRegDwordBigEndian, Bytes({0, 0, 0, 2})},
      {"Start of two bytes", L"Start", kRegDword, Bytes({2, 0})},
      {"Start of eight bytes", L"Start", kRegQword, Bytes({2, 0, 0, 0, 0, 0, 0, 0})},
      {"Start beyond the start types", L"Start", kRegDword, Bytes({5, 0, 0, 0})},
      {"ImagePath as a number", L"ImagePath", kRegDword, Bytes({1, 0, 0, 0})},
      {"ImagePath as a list", L"ImagePath", kRegMultiSz, Text16(std::wstring(L"C:\\x.exe\0", 9))},
      {"empty ImagePath", L"ImagePath", kRegExpandSz, Text16(L"")},
      {"ImagePath of only a NUL", L"ImagePath", kRegSz, Bytes({0, 0})},
      {"ImagePath that names a variable", L"ImagePath", kRegExpandSz, Text16(L"%SystemRoot%\\svc.exe")},
  };
  for (const auto& v : values) cases.emplace_back(v.why, [&] { Write(L"Svc", v.name, v.type, v.data); });
  for (const auto& [why, spoil] : cases) {
    scm.Services = {{L"Svc", L"The service", L"%SystemRoot%\\manager.exe -k", kServiceAutoStart},
                    {L"Other", L"Another", L"C:\\other.exe", kServiceDisabled}};
    scm.ServiceAccess.clear();
    registry = FakeRegistry();
    WriteKey(L"Svc", kServiceDisabled, L"C:\\registry.exe");
    WriteKey(L"Other", kServiceDemandStart, L"C:\\other-registry.exe");
    spoil();
    list.clear();
    AddServices(scm, registry, list);
    ASSERT_EQ(Targets(), (std::vector<std::wstring>{L"Svc", L"Other"})) << why;
    EXPECT_EQ(list[0]->StartType, kServiceAutoStart) << why;
    EXPECT_TRUE(list[0]->Enabled) << why;
    EXPECT_EQ(list[0]->FileName, L"%SystemRoot%\\manager.exe -k") << why;
    EXPECT_EQ(list[0]->RawData, list[0]->FileName) << why;
    EXPECT_EQ(list[1]->FileName, L"C:\\other-registry.exe") << why << ": the other service still from its key";
    EXPECT_EQ(scm.ServiceAccess, std::vector<std::uint32_t>{kServiceQueryConfig}) << why;
  }
}

TEST_F(Services, AServiceNeitherItsKeyNorTheManagerAnswersForIsLeftOut) {
  Write(L"Auto", L"Start", kRegDword, Bytes({2, 0, 0, 0}));
  scm.Services[0].CanQuery = false;
  WriteKey(L"Manual", kServiceAutoStart, L"C:\\manual.exe");
  scm.Services[1].CanOpen = false;
  AddServices(scm, registry, list);
  EXPECT_EQ(Targets(), (std::vector<std::wstring>{L"Manual", L"Off", L"Boot"}))
      << "a key without a path and a manager that cannot query cost that service only";
}

TEST_F(Services, SwitchingSetsAutomaticOrDisabledStart) {
  SetServiceEnabled(scm, L"Manual", true);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceAutoStart);
  SetServiceEnabled(scm, L"manual", false);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceDisabled) << "disabled, never manual start";
  EXPECT_EQ(scm.Changes, (std::vector<FakeServiceManager::Change>{{kServiceNoChange, 2, kServiceNoChange},
                                                                  {kServiceNoChange, 4, kServiceNoChange}}));
  EXPECT_EQ(scm.ManagerAccess, (std::vector<std::uint32_t>{1, 1}));
  EXPECT_EQ(scm.ServiceAccess, (std::vector<std::uint32_t>{0x22, 0x22}));

  AddServices(scm, registry, list);
  EXPECT_FALSE(list[1]->Enabled);
  SetServiceEnabled(scm, L"Manual", true);
  list.clear();
  AddServices(scm, registry, list);
  EXPECT_TRUE(list[1]->Enabled) << "the next reading shows the change";
}

TEST_F(Services, RefusedSwitchesChangeNothing) {
  SetServiceEnabled(scm, L"Nonexistent", true);
  scm.RefuseChange = true;
  SetServiceEnabled(scm, L"Manual", true);
  scm.RefuseChange = false;
  scm.FailOpenManager = true;
  SetServiceEnabled(scm, L"Manual", true);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceDemandStart);
  EXPECT_TRUE(scm.Changes.empty());
}

} // namespace
