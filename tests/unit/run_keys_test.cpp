#include <gtest/gtest.h>

#include "autorun/run_keys.h"
#include "autorun/startup_approved.h"
#include "common/bytes.h"
#include "common/registry_paths.h"
#include "fakes/fake_platform.h"

namespace {

using namespace platform;
using keys::kRun;
using keys::kRun32;
const std::wstring kApproved = keys::kApprovedRun;

std::vector<std::byte> Approved(int state) { return ApprovedValue(state, 0x0807060504030201ull); }

class RunKeys : public ::testing::Test {
 protected:
  RunKeys() : reg(fake.registry) {
    fake.system.Now = 0x01DB'2345'6789'ABCDull;
    tokens = {{L"%ProgramFiles%", L"C:\\Program Files"}};
  }
  void List() {
    list.clear();
    AddRunKeys(fake.registry, tokens, list);
  }
  const TAutorunInfo* Find(const std::wstring& target) const {
    for (const auto& entry : list) {
      if (entry->Target == target) return entry.get();
    }
    return nullptr;
  }

  FakePlatform fake;
  TReg reg;
  FolderTokens tokens;
  AutorunList list;
};

TEST_F(RunKeys, ListEveryValueOfTheThreeKeysInOrder) {
  reg.WriteString(kLocalMachine, kRun, L"Native", L"\"%ProgramFiles%\\App\\app.exe\" /min");
  reg.WriteString(kLocalMachine, kRun32, L"Native", L"C:\\x86\\app.exe");
  reg.WriteInteger(kLocalMachine, kRun32, L"Number", 7);
  reg.WriteString(kCurrentUser, kRun, L"", L"C:\\default.exe");
  reg.WriteString(kCurrentUser, kRun + L"\\Ignored", L"Sub", L"C:\\sub.exe");
  List();
  ASSERT_EQ(list.size(), 4u);

  const TAutorunInfo& native = *list[0];
  EXPECT_EQ(native.From, L"HKLM");
  EXPECT_EQ(native.Caption, L"Native");
  EXPECT_EQ(native.RawData, L"\"%ProgramFiles%\\App\\app.exe\" /min");
  EXPECT_EQ(native.FileName, L"C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(native.Target, L"HKLM\\" + kRun + L"\\Native");
  EXPECT_TRUE(native.Enabled) << "no StartupApproved value";

  EXPECT_EQ(list[1]->Target, L"HKLM\\" + kRun32 + L"\\Native") << "the same name in the 32-bit key is listed again";
  EXPECT_EQ(list[2]->Caption, L"Number");
  EXPECT_EQ(list[2]->RawData, L"") << "a REG_DWORD gives no command";
  EXPECT_EQ(list[3]->From, L"HKCU");
  EXPECT_EQ(list[3]->Caption, L"");
  EXPECT_EQ(list[3]->Target, L"HKCU\\" + kRun + L"\\") << "the unnamed default value";
}

TEST_F(RunKeys, StatesAreReadFromTheMatchingApprovedKey) {
  reg.WriteString(kLocalMachine, kRun, L"A", L"a.exe");
  reg.WriteString(kLocalMachine, kRun32, L"A", L"a.exe");
  reg.WriteString(kCurrentUser, kRun, L"A", L"a.exe");
  reg.WriteBinary(kLocalMachine, kApproved + L"32", L"A", Approved(3));
  List();
  EXPECT_TRUE(list[0]->Enabled);
  EXPECT_FALSE(list[1]->Enabled) << "32-bit entries use Run32";
  EXPECT_TRUE(list[2]->Enabled) << "the user's entries use the user's key";
  reg.WriteBinary(kCurrentUser, kApproved, L"A", Approved(3));
  List();
  EXPECT_EQ((std::vector<bool>{list[0]->Enabled, list[1]->Enabled, list[2]->Enabled}),
            (std::vector<bool>{true, false, false}));
}

TEST_F(RunKeys, SwitchingWritesTheStateAndTimeBesideTheEntry) {
  reg.WriteString(kLocalMachine, kRun32, L"App", L"app.exe");
  const std::wstring target = L"HKLM\\" + kRun32 + L"\\App";
  SetRunKeyEnabled(fake.registry, fake.system, target, false);
  EXPECT_EQ(reg.ReadBinary(kLocalMachine, kApproved + L"32", L"App"),
            Bytes({3, 0, 0, 0, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0xDB, 0x01}));
  fake.system.Now = 0x0102'0304'0506'0708ull;
  SetRunKeyEnabled(fake.registry, fake.system, target, true);
  EXPECT_EQ(reg.ReadBinary(kLocalMachine, kApproved + L"32", L"App"), Bytes({2, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}))
      << "the time is stamped in both states, the second switch replaces the first";
  std::vector<std::wstring> names;
  EXPECT_EQ(reg.ReadValueNames(kLocalMachine, kApproved + L"32", names), 1);
  EXPECT_EQ(reg.ReadString(kLocalMachine, kRun32, L"App", L""), L"app.exe") << "the Run value is untouched";

  SetRunKeyEnabled(fake.registry, fake.system, L"hkcu\\" + kRun + L"\\Mine", false);
  EXPECT_FALSE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Mine"));
  SetRunKeyEnabled(fake.registry, fake.system, L"HKLM\\Run", false); // not a location: nothing happens
  EXPECT_EQ(reg.ReadValueNames(kLocalMachine, kApproved, names), 0);
}

TEST_F(RunKeys, ANameHoldingABackslashSwitchesUnderItsWholeName) {
  reg.WriteString(kCurrentUser, kRun, L"Vendor\\Tool", L"tool.exe");
  List();
  ASSERT_EQ(list.size(), 1u);
  SetRunKeyEnabled(fake.registry, fake.system, list[0]->Target, false);
  List();
  EXPECT_FALSE(list[0]->Enabled);
  EXPECT_FALSE(reg.IsKey(kCurrentUser, kApproved + L"\\Vendor"));
}

TEST_F(RunKeys, BelowVersion10DisablingDeletesTheValueAndNeverAKey) {
  fake.system.Major = 6;
  reg.WriteString(kLocalMachine, kRun, L"App", L"app.exe");
  reg.WriteString(kLocalMachine, kRun, L"Other", L"other.exe");
  reg.WriteString(kLocalMachine, kRun, L"Foo", L"foo.exe");
  reg.WriteString(kLocalMachine, kRun + L"\\Foo\\Deep", L"V", L"x"); // a subkey named as an entry
  SetRunKeyEnabled(fake.registry, fake.system, L"HKLM\\" + kRun + L"\\App", true);
  SetRunKeyEnabled(fake.registry, fake.system, L"HKLM\\" + kRun + L"\\App", false);
  SetRunKeyEnabled(fake.registry, fake.system, L"HKLM\\" + kRun + L"\\Foo", false);
  std::vector<std::wstring> names;
  reg.ReadValueNames(kLocalMachine, kRun, names);
  EXPECT_EQ(names, std::vector<std::wstring>{L"Other"}) << "the entries App and Foo are gone";
  EXPECT_EQ(reg.ReadString(kLocalMachine, kRun + L"\\Foo\\Deep", L"V", L""), L"x") << "the subkey tree stays";
  EXPECT_FALSE(reg.IsKey(kLocalMachine, kApproved)) << "no StartupApproved value below version 10";
}

// Counts every call that reaches the registry.
class CountingRegistry final : public Registry {
 public:
  explicit CountingRegistry(Registry& inner) : inner_(inner) {}
  std::size_t calls = 0;
  win::Error OpenKey(HKey k, std::wstring_view s, std::uint32_t a, HKey& r) override {
    return ++calls, inner_.OpenKey(k, s, a, r);
  }
  win::Error CreateKey(HKey k, std::wstring_view s, std::uint32_t a, HKey& r) override {
    return ++calls, inner_.CreateKey(k, s, a, r);
  }
  win::Error CloseKey(HKey k) override { return ++calls, inner_.CloseKey(k); }
  win::Error ReadValue(HKey k, std::wstring_view n, std::uint32_t* t, std::byte* d, std::uint32_t* s) override {
    return ++calls, inner_.ReadValue(k, n, t, d, s);
  }
  win::Error WriteValue(HKey k, std::wstring_view n, std::uint32_t t, std::span<const std::byte> d) override {
    return ++calls, inner_.WriteValue(k, n, t, d);
  }
  win::Error DeleteValue(HKey k, std::wstring_view n) override { return ++calls, inner_.DeleteValue(k, n); }
  win::Error DeleteKey(HKey k, std::wstring_view s, std::uint32_t a) override {
    return ++calls, inner_.DeleteKey(k, s, a);
  }
  win::Error ReadSubKeyName(HKey k, std::uint32_t i, std::wstring& n) override {
    return ++calls, inner_.ReadSubKeyName(k, i, n);
  }
  win::Error ReadValueName(HKey k, std::uint32_t i, std::wstring& n) override {
    return ++calls, inner_.ReadValueName(k, i, n);
  }
  win::Error ReadValueAt(HKey k, std::uint32_t i, std::wstring& n, std::uint32_t& t, std::vector<std::byte>& b,
                         std::uint32_t& s) override {
    return ++calls, inner_.ReadValueAt(k, i, n, t, b, s);
  }
  win::Error CountSubKeys(HKey k, std::uint32_t& s) override { return ++calls, inner_.CountSubKeys(k, s); }

 private:
  Registry& inner_;
};

TEST_F(RunKeys, ListingCostsAFixedNumberOfRegistryCallsPerValue) {
  CountingRegistry counting(fake.registry);
  std::size_t previous = 0;
  for (const int values : {1000, 2000}) {
    for (int i = previous ? 1000 : 0; i < values; ++i) {
      const std::wstring name = L"App" + std::to_wstring(i);
      reg.WriteString(kCurrentUser, kRun, name, L"C:\\app.exe");
      if (i % 2) reg.WriteBinary(kCurrentUser, kApproved, name, Approved(3));
    }
    counting.calls = 0;
    list.clear();
    AddRunKey(counting, tokens, kCurrentUser, L"\\" + kRun, list);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(values));
    // One open and close per key, and one enumeration call per value and past the last: the
    // Run key's values with their data, the StartupApproved key's (half as many) likewise.
    EXPECT_EQ(counting.calls, 3u * values / 2 + 6) << values << " values";
    RecordProperty("registry_calls_" + std::to_string(values), static_cast<int>(counting.calls));
    previous = values;
  }
  EXPECT_EQ(fake.registry.OpenHandles(), 0u);
}

} // namespace
