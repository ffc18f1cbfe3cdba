#include <gtest/gtest.h>

#include "autorun/run_keys.h"
#include "platform/fake/fake_platform.h"
#include "support/utf16.h"

namespace {

using namespace platform;

const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRun32 = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kApproved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

std::vector<std::byte> B(std::initializer_list<int> values) {
  std::vector<std::byte> bytes;
  for (const int v : values) bytes.push_back(static_cast<std::byte>(v));
  return bytes;
}

std::vector<std::byte> Approved(int state) { return B({state, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}); }

class RunKeys : public ::testing::Test {
 protected:
  RunKeys() : reg(fake.registry) {
    fake.system.Now = 0x01DB'2345'6789'ABCDull;
    tokens = {{L"%ProgramFiles%", L"C:\\Program Files"}};
  }
  void List() {
    list.clear();
    AddRunKeys(fake.platform, tokens, list);
  }
  const TAutorunInfo* Find(const std::wstring& target) const {
    for (const auto& entry : list) {
      if (entry->Target == target) return entry.get();
    }
    return nullptr;
  }

  FakePlatform fake;
  TReg reg;
  TFolderTokens tokens;
  TAutorunList list;
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

TEST_F(RunKeys, StartupApprovedStateByteBitZeroMarksDisabled) {
  const struct {
    const char* what;
    std::vector<std::byte> value;
    bool enabled;
  } cases[] = {
      {"empty", {}, true},
      {"8 bytes starting 03", B({3, 0, 0, 0, 0, 0, 0, 0}), true},
      {"13 bytes starting 03", B({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), true},
      {"02", Approved(2), true},
      {"06, shown enabled by Windows", Approved(6), true},
      {"00", Approved(0), true},
      {"03", Approved(3), false},
      {"07", Approved(7), false},
      {"01", Approved(1), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsStartupApproved(c.value), c.enabled) << c.what;
    reg.WriteBinary(kCurrentUser, kApproved, L"App", c.value);
    EXPECT_EQ(IsStartupApproved(reg, kCurrentUser, kApproved, L"App"), c.enabled) << c.what;
  }
  EXPECT_TRUE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Missing"));
  reg.WriteString(kCurrentUser, kApproved, L"Text", L"\x0003");
  EXPECT_TRUE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Text")) << "not REG_BINARY";
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
  SetRunKeyEnabled(fake.platform, target, false);
  EXPECT_EQ(reg.ReadBinary(kLocalMachine, kApproved + L"32", L"App"),
            B({3, 0, 0, 0, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0xDB, 0x01}));
  fake.system.Now = 0x0102'0304'0506'0708ull;
  SetRunKeyEnabled(fake.platform, target, true);
  EXPECT_EQ(reg.ReadBinary(kLocalMachine, kApproved + L"32", L"App"), B({2, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}))
      << "the time is stamped in both states, the second switch replaces the first";
  std::vector<std::wstring> names;
  EXPECT_EQ(reg.ReadValueNames(kLocalMachine, kApproved + L"32", names), 1);
  EXPECT_EQ(reg.ReadString(kLocalMachine, kRun32, L"App", L""), L"app.exe") << "the Run value is untouched";

  SetRunKeyEnabled(fake.platform, L"hkcu\\" + kRun + L"\\Mine", false);
  EXPECT_FALSE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Mine"));
  SetRunKeyEnabled(fake.platform, L"HKLM\\Run", false); // not a location: nothing happens
  EXPECT_EQ(reg.ReadValueNames(kLocalMachine, kApproved, names), 0);
}

TEST_F(RunKeys, ANameHoldingABackslashSwitchesUnderItsWholeName) {
  reg.WriteString(kCurrentUser, kRun, L"Vendor\\Tool", L"tool.exe");
  List();
  ASSERT_EQ(list.size(), 1u);
  SetRunKeyEnabled(fake.platform, list[0]->Target, false);
  List();
  EXPECT_FALSE(list[0]->Enabled);
  EXPECT_FALSE(reg.IsKey(kCurrentUser, kApproved + L"\\Vendor"));
}

TEST_F(RunKeys, BelowVersion10DisablingDeletesTheEntryAndEnablingDoesNothing) {
  fake.system.Major = 6;
  reg.WriteString(kLocalMachine, kRun, L"App", L"app.exe");
  reg.WriteString(kLocalMachine, kRun, L"Other", L"other.exe");
  reg.WriteString(kLocalMachine, kRun + L"\\Tree\\Deep", L"V", L"x");
  SetRunKeyEnabled(fake.platform, L"HKLM\\" + kRun + L"\\App", true);
  SetRunKeyEnabled(fake.platform, L"HKLM\\" + kRun + L"\\App", false);
  SetRunKeyEnabled(fake.platform, L"HKLM\\" + kRun + L"\\Tree", false);
  std::vector<std::wstring> names;
  reg.ReadValueNames(kLocalMachine, kRun, names);
  EXPECT_EQ(names, std::vector<std::wstring>{L"Other"});
  EXPECT_FALSE(reg.IsKey(kLocalMachine, kRun + L"\\Tree"));
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
  win::Error QueryValue(HKey k, std::wstring_view n, std::uint32_t* t, std::byte* d, std::uint32_t* s) override {
    return ++calls, inner_.QueryValue(k, n, t, d, s);
  }
  win::Error SetValue(HKey k, std::wstring_view n, std::uint32_t t, std::span<const std::byte> d) override {
    return ++calls, inner_.SetValue(k, n, t, d);
  }
  win::Error DeleteValue(HKey k, std::wstring_view n) override { return ++calls, inner_.DeleteValue(k, n); }
  win::Error DeleteKey(HKey k, std::wstring_view s, std::uint32_t a) override {
    return ++calls, inner_.DeleteKey(k, s, a);
  }
  win::Error EnumKey(HKey k, std::uint32_t i, std::wstring& n) override { return ++calls, inner_.EnumKey(k, i, n); }
  win::Error EnumValue(HKey k, std::uint32_t i, std::wstring& n) override { return ++calls, inner_.EnumValue(k, i, n); }
  win::Error QueryInfoKey(HKey k, std::uint32_t& s) override { return ++calls, inner_.QueryInfoKey(k, s); }

 private:
  Registry& inner_;
};

TEST_F(RunKeys, ListingCostsAFixedNumberOfRegistryCallsPerValue) {
  CountingRegistry counting(fake.registry);
  Platform platform{counting,      fake.files,  fake.services,  fake.system, fake.tasks,
                    fake.fileInfo, fake.locale, fake.resources, fake.shell};
  std::size_t previous = 0;
  for (const int values : {1000, 2000}) {
    for (int i = previous ? 1000 : 0; i < values; ++i) {
      const std::wstring name = L"App" + std::to_wstring(i);
      reg.WriteString(kCurrentUser, kRun, name, L"C:\\app.exe");
      if (i % 2) reg.WriteBinary(kCurrentUser, kApproved, name, Approved(3));
    }
    counting.calls = 0;
    list.clear();
    AddRunKey(platform, tokens, kCurrentUser, L"\\" + kRun, list);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(values));
    // One open and close per key; per value one enumeration, two queries for the command and
    // one or two for the state.
    EXPECT_EQ(counting.calls, 9u * values / 2 + 5) << values << " values";
    RecordProperty("registry_calls_" + std::to_string(values), static_cast<int>(counting.calls));
    previous = values;
  }
  EXPECT_EQ(fake.registry.OpenHandles(), 0u);
}

} // namespace
