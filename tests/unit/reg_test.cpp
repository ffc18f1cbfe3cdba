#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "support/reg.h"
#include "support/utf16.h"

namespace {

using namespace platform;

TEST(RegParse, SplitsRootKeyPathAndName) {
  const struct {
    const wchar_t* text;
    bool ok;
    HKey root;
    const wchar_t* key;
    const wchar_t* name;
  } cases[] = {
      {L"HKCU\\Software\\Example\\Run\\Item", true, kCurrentUser, L"Software\\Example\\Run", L"Item"},
      {L"HKLM\\Alpha\\Item", true, kLocalMachine, L"Alpha", L"Item"},
      {L"HKLM\\\\Alpha\\Item", true, kLocalMachine, L"\\Alpha", L"Item"},
      {L"hkey_local_machine\\Alpha\\Item", true, kLocalMachine, L"Alpha", L"Item"},
      {L"XYZ\\Alpha\\Item", true, kNoRootKey, L"Alpha", L"Item"},
      {L"HKCU\\Run\\", true, kCurrentUser, L"Run", L""},
      {L"\\\\", true, kNoRootKey, L"", L""},
      {L"HKLM\\Run", false, 0, L"", L""},
      {L"HKLM", false, 0, L"", L""},
      {L"", false, 0, L"", L""},
  };
  for (const auto& c : cases) {
    HKey root = 0x1234;
    std::wstring key = L"stale", name = L"stale";
    EXPECT_EQ(TReg::Parse(c.text, root, key, name), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(root, c.root) << c.text;
    }
    EXPECT_EQ(key, c.key) << c.text;
    EXPECT_EQ(name, c.name) << c.text;
  }
}

TEST(RegRootNames, FollowTheRootTable) {
  const struct {
    HKey root;
    const wchar_t* full;
    const wchar_t* abbreviation;
  } roots[] = {
      {kClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},
      {kCurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
      {kLocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"},
      {kUsers, L"HKEY_USERS", L"HKU"},
      {kPerformanceData, L"HKEY_PERFORMANCE_DATA", nullptr},
      {kCurrentConfig, L"HKEY_CURRENT_CONFIG", nullptr},
      {kDynData, L"HKEY_DYN_DATA", nullptr},
  };
  for (const auto& r : roots) {
    EXPECT_EQ(RootKeyToStr(r.root, false), r.full);
    EXPECT_EQ(RootKeyToStr(r.root, true), r.abbreviation ? r.abbreviation : r.full);
    EXPECT_EQ(StrToRootKey(r.full), r.root);
    if (r.abbreviation) {
      EXPECT_EQ(StrToRootKey(r.abbreviation), r.root);
    }
  }
  EXPECT_EQ(RootKeyToStr(0x1234, true), L"");
  EXPECT_EQ(RootKeyToStr(kNoRootKey, false), L"");
  EXPECT_EQ(StrToRootKey(L"hklm"), kLocalMachine);
  EXPECT_EQ(StrToRootKey(L"Hkey_Users"), kUsers);
  for (const wchar_t* unknown : {L"HKCC", L"HKPD", L"", L"HKLM ", L"HKEY_LOCAL_MACHINE\\"}) {
    EXPECT_EQ(StrToRootKey(unknown), kNoRootKey) << unknown;
  }
}

TEST(RegRead, FallsBackThroughTheThreeReadMasks) {
  FakeRegistry registry;
  const TReg reg(registry);
  reg.WriteString(kCurrentUser, L"Software\\Locked", L"V", L"x");
  const struct {
    std::uint32_t allowed;
    std::vector<std::uint32_t> tried;
  } cases[] = {
      {0x20019, {0x20119}},
      {0x20009, {0x20119, 0x20109}},
      {0x00001, {0x20119, 0x20109, 0x101}},
  };
  for (const auto& c : cases) {
    registry.RestrictAccess(kCurrentUser, L"Software\\Locked", c.allowed);
    const std::size_t before = registry.RequestedAccess().size();
    EXPECT_EQ(reg.ReadString(kCurrentUser, L"\\Software\\Locked", L"V", L"<default>"), L"x");
    const std::vector<std::uint32_t> tried(registry.RequestedAccess().begin() + before,
                                           registry.RequestedAccess().end());
    EXPECT_EQ(tried, c.tried) << std::hex << c.allowed;
  }
  registry.RestrictAccess(kCurrentUser, L"Software\\Locked", 0);
  EXPECT_EQ(reg.ReadString(kCurrentUser, L"Software\\Locked", L"V", L"<default>"), L"<default>");
  EXPECT_FALSE(reg.IsKey(kCurrentUser, L"Software\\Locked"));
  reg.WriteString(kCurrentUser, L"Software\\Locked", L"V", L"changed");
  registry.RestrictAccess(kCurrentUser, L"Software\\Locked", ~0u);
  EXPECT_EQ(reg.ReadString(kCurrentUser, L"Software\\Locked", L"V", L""), L"x") << "a refused write changes nothing";
}

TEST(RegValues, AValueTooLargeToAllocateIsLeftOutAndTheOthersAreRead) {
  FakeRegistry registry;
  const TReg reg(registry);
  const std::vector<std::byte> big(70000, std::byte{0x5A});
  reg.WriteBinary(kCurrentUser, L"Software\\Run", L"Big", big);
  reg.WriteString(kCurrentUser, L"Software\\Run", L"Huge", L"huge.exe");
  reg.WriteString(kCurrentUser, L"Software\\Run", L"After", L"after.exe");
  reg.WriteBinary(kCurrentUser, L"Software\\Run", L"Empty", {});
  registry.ThrowOnReadingValue = L"Huge";
  std::vector<RegValue> values;
  ASSERT_EQ(RegReader(registry, kCurrentUser, L"Software\\Run").ReadValues(values), 3);
  EXPECT_EQ(values[0].name, L"Big");
  EXPECT_EQ(values[0].data, big);
  EXPECT_EQ(values[1].name, L"After");
  EXPECT_EQ(RegString(values[1].type, values[1].data, L"?"), L"after.exe") << "its own bytes, not the larger buffer's";
  EXPECT_EQ(values[2].name, L"Empty");
  EXPECT_TRUE(values[2].data.empty());
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(RegHandles, EveryMemberClosesWhatItOpens) {
  FakeRegistry registry;
  const TReg reg(registry);
  std::vector<std::wstring> names;
  const std::wstring key = L"Software\\Handles";
  reg.WriteString(kCurrentUser, key + L"\\A\\B", L"S", L"x");
  reg.WriteInteger(kCurrentUser, key, L"I", 1);
  reg.WriteBinary(kCurrentUser, key, L"B", {});
  reg.ReadString(kCurrentUser, key, L"S", L"");
  reg.ReadString(kCurrentUser, key, L"I", L"");
  reg.ReadInteger(kCurrentUser, key, L"I", 0);
  reg.ReadBool(kCurrentUser, key, L"I", false);
  reg.ReadBinary(kCurrentUser, key, L"B");
  reg.ReadKeyNames(kCurrentUser, key, names);
  reg.ReadValueNames(kCurrentUser, key, names);
  reg.IsKey(kCurrentUser, key);
  reg.ReadString(kCurrentUser, L"Software\\Missing", L"S", L"");
  reg.DeleteValue(kCurrentUser, key, L"I");
  reg.Delete(L"HKCU\\Software\\Handles\\A");
  reg.DeleteKey(kCurrentUser, L"Software", L"Handles");
  EXPECT_FALSE(reg.IsKey(kCurrentUser, key));
  EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(Utf16, RoundTripsAndDecodesOddInput) {
  const std::wstring text = L"Aä日\U0001F600";
  const std::vector<std::byte> bytes = Utf16LeFromWide(text);
  ASSERT_EQ(bytes.size(), 10u) << "the emoji takes a surrogate pair";
  EXPECT_EQ(WideFromUtf16Le(bytes), text);
  std::vector<std::byte> odd = bytes;
  odd.push_back(std::byte{'x'});
  EXPECT_EQ(WideFromUtf16Le(odd), text) << "an odd trailing byte is dropped";
  const std::vector<std::byte> lone = {std::byte{0x3D}, std::byte{0xD8}, std::byte{'A'}, std::byte{0}};
  EXPECT_EQ(WideFromUtf16Le(lone).size(), 2u) << "a lone surrogate is kept";
}

} // namespace
