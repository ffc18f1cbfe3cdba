#include "contract/registry_contract.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/bytes.h"

namespace {

using namespace win;
using platform::kCurrentUser;
using platform::kLocalMachine;

constexpr std::uint32_t kRead64 = kKeyRead | kKeyWow64_64Key;
constexpr std::uint32_t kWrite64 = kKeyRead | kKeyWrite | kKeyWow64_64Key;
const std::wstring kBase = L"Software\\TarnwickTest";

std::wstring Widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

} // namespace

void RegistryContract::SetUp() {
  registry_ = GetParam().make();
  reg_ = std::make_unique<TReg>(*registry_);
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  scratch_ = kBase + L"\\" + Widen(name.substr(0, name.find('/')));
  TearDown();
}

void RegistryContract::TearDown() {
  reg_->DeleteKey(kCurrentUser, L"Software", L"TarnwickTest");
  reg_->DeleteKey(kLocalMachine, L"Software", L"TarnwickTest");
  reg_->DeleteKey(kLocalMachine, L"Software\\Wow6432Node", L"TarnwickTest");
}

void RegistryContract::SetRaw(HKey root, const std::wstring& key, const std::wstring& name, std::uint32_t type,
                              std::span<const std::byte> data) {
  HKey handle = 0;
  ASSERT_EQ(registry_->CreateKey(root, key, kWrite64, handle), kErrorSuccess);
  EXPECT_EQ(registry_->WriteValue(handle, name, type, data), kErrorSuccess);
  registry_->CloseKey(handle);
}

bool RegistryContract::GetRaw(HKey root, const std::wstring& key, const std::wstring& name, std::uint32_t& type,
                              std::vector<std::byte>& data) {
  HKey handle = 0;
  if (registry_->OpenKey(root, key, kRead64, handle) != kErrorSuccess) return false;
  std::uint32_t size = 0;
  bool found = registry_->ReadValue(handle, name, &type, nullptr, &size) == kErrorSuccess;
  data.assign(size, std::byte{0xCC});
  if (found && size) found = registry_->ReadValue(handle, name, &type, data.data(), &size) == kErrorSuccess;
  registry_->CloseKey(handle);
  return found;
}

bool RegistryContract::Opens(HKey root, const std::wstring& key, std::uint32_t access) {
  HKey handle = 0;
  if (registry_->OpenKey(root, key, access, handle) != kErrorSuccess) return false;
  registry_->CloseKey(handle);
  return true;
}

TEST_P(RegistryContract, ReadStringByTypeAndShape) {
  const std::wstring kDefault = L"<default>";
  const struct {
    const char* what;
    std::uint32_t type;
    std::vector<std::byte> data;
    std::wstring expected;
  } cases[] = {
      {"REG_SZ", kRegSz, Text16(L"Alpha"), L"Alpha"},
      {"REG_SZ without NUL", kRegSz, Text16(L"Alpha", false), L"Alpha"},
      {"REG_SZ cut at the first NUL", kRegSz, Text16(std::wstring(L"Al\0pha", 6)), L"Al"},
      {"REG_SZ of odd length", kRegSz,
       [] {
         auto b = Text16(L"Alpha", false);
         b.push_back(std::byte{'x'});
         return b;
       }(),
       L"Alpha"},
      {"REG_EXPAND_SZ stays unexpanded", kRegExpandSz, Text16(L"%ProgramFiles%\\App"), L"%ProgramFiles%\\App"},
      {"non-ASCII REG_SZ", kRegSz, Text16(L"Привет 日本 \U0001F600"), L"Привет 日本 \U0001F600"},
      {"empty REG_SZ", kRegSz, {}, L""},
      {"empty REG_BINARY", kRegBinary, {}, L""},
      {"REG_DWORD", kRegDword, Bytes({1, 0, 0, 0}), kDefault},
      {"REG_BINARY", kRegBinary, Bytes({'A', 0, 0, 0}), kDefault},
      {"REG_MULTI_SZ", kRegMultiSz, Text16(std::wstring(L"a\0b\0", 4)), kDefault},
      {"REG_LINK", kRegLink, Text16(L"\\Registry\\Machine", false), kDefault},
      {"REG_QWORD", kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), kDefault},
  };
  for (const auto& c : cases) {
    SetRaw(kCurrentUser, scratch_, L"Value", c.type, c.data);
    EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_, L"Value", kDefault), c.expected) << c.what;
  }
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_, L"Missing", kDefault), L"") << "missing value, existing key";
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_ + L"\\Missing", L"Value", kDefault), kDefault) << "missing key";
}

TEST_P(RegistryContract, ReadIntegerAndBoolTakeOnlyFourByteIntegers) {
  constexpr std::int32_t kDefault = 777;
  const struct {
    const char* what;
    std::uint32_t type;
    std::vector<std::byte> data;
    std::int32_t expected;
  } cases[] = {
      {"REG_DWORD", kRegDword, Bytes({42, 0, 0, 0}), 42},
      {"negative REG_DWORD", kRegDword, Bytes({0xFE, 0xFF, 0xFF, 0xFF}), -2},
      {"REG_DWORD_BIG_ENDIAN, raw bytes", kRegDwordBigEndian, Bytes({0, 0, 0, 1}), 0x01000000},
      {"REG_QWORD", kRegQword, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), kDefault},
      {"REG_DWORD of 8 bytes", kRegDword, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), kDefault},
      {"REG_DWORD of 2 bytes", kRegDword, Bytes({1, 0}), kDefault},
      {"empty REG_DWORD", kRegDword, {}, kDefault},
      {"REG_BINARY of 4 bytes", kRegBinary, Bytes({1, 0, 0, 0}), kDefault},
      {"REG_SZ of 4 bytes", kRegSz, Text16(L"5"), kDefault},
  };
  for (const auto& c : cases) {
    SetRaw(kCurrentUser, scratch_, L"Value", c.type, c.data);
    EXPECT_EQ(reg_->ReadInteger(kCurrentUser, scratch_, L"Value", kDefault), c.expected) << c.what;
  }
  EXPECT_EQ(reg_->ReadInteger(kCurrentUser, scratch_, L"Missing", kDefault), kDefault);

  SetRaw(kCurrentUser, scratch_, L"Zero", kRegDword, Bytes({0, 0, 0, 0}));
  SetRaw(kCurrentUser, scratch_, L"Seven", kRegDword, Bytes({7, 0, 0, 0}));
  EXPECT_FALSE(reg_->ReadBool(kCurrentUser, scratch_, L"Zero", true));
  EXPECT_TRUE(reg_->ReadBool(kCurrentUser, scratch_, L"Seven", false));
  EXPECT_TRUE(reg_->ReadBool(kCurrentUser, scratch_, L"Missing", true));
  EXPECT_FALSE(reg_->ReadBool(kCurrentUser, scratch_, L"Missing", false));
}

TEST_P(RegistryContract, ReadBinaryOnlyForBinaryAndResourceTypes) {
  const auto data = Bytes({1, 2, 3});
  for (const std::uint32_t type :
       {kRegNone, kRegBinary, kRegResourceList, kRegFullResourceDescriptor, kRegResourceRequirementsList}) {
    SetRaw(kCurrentUser, scratch_, L"Value", type, data);
    EXPECT_EQ(reg_->ReadBinary(kCurrentUser, scratch_, L"Value"), data) << "type " << type;
  }
  for (const std::uint32_t type :
       {kRegSz, kRegExpandSz, kRegDword, kRegDwordBigEndian, kRegLink, kRegMultiSz, kRegQword}) {
    SetRaw(kCurrentUser, scratch_, L"Value", type, data);
    EXPECT_TRUE(reg_->ReadBinary(kCurrentUser, scratch_, L"Value").empty()) << "type " << type;
  }
  SetRaw(kCurrentUser, scratch_, L"Empty", kRegBinary, {});
  EXPECT_TRUE(reg_->ReadBinary(kCurrentUser, scratch_, L"Empty").empty());
  EXPECT_TRUE(reg_->ReadBinary(kCurrentUser, scratch_, L"Missing").empty());

  std::vector<std::byte> large(1 << 20);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::byte>(i * 7);
  SetRaw(kCurrentUser, scratch_, L"Large", kRegBinary, large);
  EXPECT_TRUE(reg_->ReadBinary(kCurrentUser, scratch_, L"Large") == large);
}

TEST_P(RegistryContract, WritesStoreTheirTypesAndBytes) {
  const std::wstring key = scratch_ + L"\\Created\\On\\Write";
  reg_->WriteString(kCurrentUser, key, L"Text", L"Wert");
  reg_->WriteInteger(kCurrentUser, key, L"Number", -2);
  reg_->WriteBinary(kCurrentUser, key, L"Bytes", Bytes({0xDE, 0xAD}));
  reg_->WriteBinary(kCurrentUser, key, L"Nothing", {});

  std::uint32_t type = 0xCCCC;
  std::vector<std::byte> data;
  ASSERT_TRUE(GetRaw(kCurrentUser, key, L"Text", type, data));
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, Text16(L"Wert"));
  ASSERT_TRUE(GetRaw(kCurrentUser, key, L"Number", type, data));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, Bytes({0xFE, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(GetRaw(kCurrentUser, key, L"Bytes", type, data));
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(data, Bytes({0xDE, 0xAD}));
  ASSERT_TRUE(GetRaw(kCurrentUser, key, L"Nothing", type, data));
  EXPECT_EQ(type, kRegBinary);
  EXPECT_TRUE(data.empty());
}

TEST_P(RegistryContract, ValueNamesComeInCreationOrderWithTheDefaultValue) {
  reg_->WriteString(kCurrentUser, scratch_, L"zeta", L"1");
  reg_->WriteString(kCurrentUser, scratch_, L"", L"default");
  reg_->WriteString(kCurrentUser, scratch_, L"alpha", L"2");
  reg_->WriteString(kCurrentUser, scratch_, L"Mid", L"3");
  // Known Wine deviation: Wine keeps values sorted by name, Windows in creation order.
  const bool sorted = GetParam().wine;
  std::vector<std::wstring> names{L"stale"};
  EXPECT_EQ(reg_->ReadValueNames(kCurrentUser, scratch_, names), 4);
  EXPECT_EQ(names, sorted ? (std::vector<std::wstring>{L"", L"alpha", L"Mid", L"zeta"})
                          : (std::vector<std::wstring>{L"zeta", L"", L"alpha", L"Mid"}));

  // Rewriting keeps a value's place and first spelling; deleting closes the gap.
  reg_->WriteString(kCurrentUser, scratch_, L"ALPHA", L"4");
  reg_->DeleteValue(kCurrentUser, scratch_, L"");
  reg_->DeleteValue(kCurrentUser, scratch_, L"ZETA");
  reg_->WriteString(kCurrentUser, scratch_, L"zeta", L"5");
  reg_->WriteString(kCurrentUser, scratch_, L"", L"default");
  reg_->ReadValueNames(kCurrentUser, scratch_, names);
  EXPECT_EQ(names, sorted ? (std::vector<std::wstring>{L"", L"alpha", L"Mid", L"zeta"})
                          : (std::vector<std::wstring>{L"alpha", L"Mid", L"zeta", L""}));
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_, L"Alpha", L""), L"4");

  EXPECT_EQ(reg_->ReadValueNames(kCurrentUser, scratch_ + L"\\Missing", names), 0);
  EXPECT_TRUE(names.empty());
}

TEST_P(RegistryContract, AnEnumerationGivesEachValuesNameTypeAndDataInOneGo) {
  std::vector<std::byte> big(70000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::byte>(i * 7);
  reg_->WriteString(kCurrentUser, scratch_, L"Text", L"C:\\app.exe /x");
  reg_->WriteBinary(kCurrentUser, scratch_, L"Big", big);
  reg_->WriteBinary(kCurrentUser, scratch_, L"Empty", {});
  reg_->WriteInteger(kCurrentUser, scratch_, L"Number", 5);
  std::vector<RegValue> values{{L"stale", 9, Bytes({1})}};
  ASSERT_EQ(RegReader(*registry_, kCurrentUser, scratch_).ReadValues(values), 4);
  std::sort(values.begin(), values.end(), [](const RegValue& a, const RegValue& b) { return a.name < b.name; });
  EXPECT_EQ(values[0].name, L"Big");
  EXPECT_EQ(values[0].type, kRegBinary);
  EXPECT_EQ(values[0].data, big) << "a value larger than the buffer, read whole";
  EXPECT_EQ(values[1].name, L"Empty");
  EXPECT_TRUE(values[1].data.empty());
  EXPECT_EQ(values[2].name, L"Number");
  EXPECT_EQ(values[2].type, kRegDword);
  EXPECT_EQ(values[2].data, Bytes({5, 0, 0, 0}));
  EXPECT_EQ(values[3].type, kRegSz);
  EXPECT_EQ(RegString(values[3].type, values[3].data, L"?"), L"C:\\app.exe /x");
  EXPECT_EQ(RegReader(*registry_, kCurrentUser, scratch_ + L"\\Missing").ReadValues(values), 0);
  EXPECT_TRUE(values.empty());

  HKey key = 0;
  ASSERT_EQ(registry_->OpenKey(kCurrentUser, scratch_, kRead64, key), kErrorSuccess);
  std::wstring name = L"untouched";
  std::uint32_t type = 77;
  std::vector<std::byte> buffer;
  std::uint32_t size = 99;
  EXPECT_EQ(registry_->ReadValueAt(key, 4, name, type, buffer, size), kErrorNoMoreItems);
  EXPECT_EQ(size, 99u);
  EXPECT_EQ(name, L"untouched");
  EXPECT_EQ(type, 77u);
  registry_->CloseKey(key);
}

TEST_P(RegistryContract, KeyNamesComeInUpperCaseNameOrder) {
  for (const wchar_t* name : {L"b", L"A_B", L"AAB", L"a1", L"MixedCase"}) {
    reg_->WriteString(kCurrentUser, scratch_ + L"\\" + name, L"", L"x");
  }
  std::vector<std::wstring> names{L"stale"};
  EXPECT_EQ(reg_->ReadKeyNames(kCurrentUser, scratch_, names), 5);
  // Upper-cased, "_" (0x5F) sorts after the letters; lower-cased it would sort before them.
  // Known Wine deviation: Wine compares lower-cased names.
  EXPECT_EQ(names, GetParam().wine ? (std::vector<std::wstring>{L"a1", L"A_B", L"AAB", L"b", L"MixedCase"})
                                   : (std::vector<std::wstring>{L"a1", L"AAB", L"A_B", L"b", L"MixedCase"}));
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, scratch_ + L"\\MIXEDCASE"));
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Missing"));
}

TEST_P(RegistryContract, NonAsciiNamesAreKeptAndMatchedWithoutCase) {
  const std::wstring key = scratch_ + L"\\Ключ日本";
  reg_->WriteString(kCurrentUser, key, L"Wert-äß", L"Значение");
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_ + L"\\КЛЮЧ日本", L"WERT-Äß", L""), L"Значение");
  std::vector<std::wstring> names;
  reg_->ReadKeyNames(kCurrentUser, scratch_, names);
  EXPECT_EQ(names, std::vector<std::wstring>{L"Ключ日本"});
  reg_->ReadValueNames(kCurrentUser, key, names);
  EXPECT_EQ(names, std::vector<std::wstring>{L"Wert-äß"});
}

TEST_P(RegistryContract, LongestNamesWorkAndLongerOnesAreRefused) {
  const std::wstring longKey(255, L'k');
  const std::wstring longValue(16383, L'v');
  reg_->WriteString(kCurrentUser, scratch_ + L"\\" + longKey, longValue, L"deep");
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_ + L"\\" + longKey, longValue, L""), L"deep");
  std::vector<std::wstring> names;
  reg_->ReadKeyNames(kCurrentUser, scratch_, names);
  EXPECT_EQ(names, std::vector<std::wstring>{longKey});
  reg_->ReadValueNames(kCurrentUser, scratch_ + L"\\" + longKey, names);
  EXPECT_EQ(names, std::vector<std::wstring>{longValue});

  // Known Wine deviation: Wine takes key names of up to 256 characters, Windows 255.
  const std::wstring tooLong(GetParam().wine ? 257 : 256, L'k');
  reg_->WriteString(kCurrentUser, scratch_ + L"\\" + tooLong, L"V", L"x");
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, scratch_ + L"\\" + tooLong));
  reg_->WriteString(kCurrentUser, scratch_, longValue + L"v", L"x");
  EXPECT_EQ(reg_->ReadValueNames(kCurrentUser, scratch_, names), 0);
}

TEST_P(RegistryContract, OneLeadingSeparatorNamesTheSameKey) {
  reg_->WriteString(kCurrentUser, L"\\" + scratch_, L"V", L"x");
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_, L"V", L""), L"x");
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, L"\\" + scratch_));

  HKey root = 0;
  std::wstring key, name;
  ASSERT_TRUE(TReg::Parse(L"HKCU\\\\" + scratch_ + L"\\V", root, key, name));
  EXPECT_EQ(key, L"\\" + scratch_);
  EXPECT_EQ(reg_->ReadString(root, key, name, L""), L"x");

  // The second of two leading separators makes the path start at the name space's root,
  // which a key relative to a root may not do.
  EXPECT_EQ(reg_->ReadString(kCurrentUser, L"\\\\" + scratch_, L"V", L"<default>"), L"<default>");
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, L"\\\\" + scratch_));
}

TEST_P(RegistryContract, DeleteValueCreatesTheMissingPathAndDeletesNothing) {
  const std::wstring key = scratch_ + L"\\Not\\There";
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, key));
  reg_->DeleteValue(kCurrentUser, key, L"V");
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, key));
  std::vector<std::wstring> names;
  EXPECT_EQ(reg_->ReadValueNames(kCurrentUser, key, names), 0);
}

TEST_P(RegistryContract, DeleteKeyRemovesTheWholeSubtree) {
  for (const wchar_t* path : {L"\\Tree\\B\\C", L"\\Tree\\B\\D", L"\\Tree\\E", L"\\Keep"}) {
    reg_->WriteString(kCurrentUser, scratch_ + path, L"V", L"x");
  }
  reg_->DeleteKey(kCurrentUser, scratch_, L"tree");
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Tree"));
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Keep"));
  reg_->DeleteKey(kCurrentUser, scratch_, L"");
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Keep")) << "an empty name deletes nothing";
}

TEST_P(RegistryContract, DeleteByLocationTakesTheKeyFirstThenTheValue) {
  reg_->WriteString(kCurrentUser, scratch_ + L"\\Both\\Child", L"V", L"x");
  reg_->WriteString(kCurrentUser, scratch_, L"Both", L"value");
  reg_->WriteString(kCurrentUser, scratch_, L"Only", L"value");
  reg_->WriteString(kCurrentUser, scratch_, L"", L"default");
  const std::wstring location = L"HKCU\\" + scratch_ + L"\\";

  reg_->Delete(location + L"Both");
  EXPECT_FALSE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Both"));
  EXPECT_EQ(reg_->ReadString(kCurrentUser, scratch_, L"Both", L""), L"value");
  reg_->Delete(location + L"Only");
  reg_->Delete(L"HKEY_CURRENT_USER\\" + scratch_ + L"\\Both");
  std::vector<std::wstring> names;
  reg_->ReadValueNames(kCurrentUser, scratch_, names);
  EXPECT_EQ(names, std::vector<std::wstring>{L""});

  // An empty last part is the key's unnamed value: the key itself stays.
  reg_->WriteString(kCurrentUser, scratch_ + L"\\Sub", L"V", L"x");
  reg_->Delete(location);
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Sub"));
  EXPECT_EQ(reg_->ReadValueNames(kCurrentUser, scratch_, names), 0);

  reg_->Delete(L"XYZ\\" + scratch_ + L"\\Sub");
  reg_->Delete(L"HKCU\\Sub");
  EXPECT_TRUE(reg_->IsKey(kCurrentUser, scratch_ + L"\\Sub"));
}

TEST_P(RegistryContract, EveryAccessGoesToThe64BitView) {
  // A 32-bit process's open of HKLM\Software without the flag is sent to Wow6432Node; a 64-bit
  // process's is not. TReg's accesses land in the 64-bit view from either.
  const bool redirected = !GetParam().process64;

  // Written through TReg below HKLM\Software: found in the 64-bit view only.
  reg_->WriteString(kLocalMachine, scratch_, L"Bits", L"64");
  EXPECT_TRUE(Opens(kLocalMachine, scratch_, kRead64));
  EXPECT_EQ(Opens(kLocalMachine, scratch_, kKeyRead), !redirected) << "without the flag";
  EXPECT_FALSE(Opens(kLocalMachine, L"Software\\Wow6432Node\\TarnwickTest", kRead64));

  // Written under Wow6432Node: what a 32-bit process without the flag sees at HKLM\Software.
  const std::wstring wow = L"Software\\Wow6432Node\\TarnwickTest\\" + scratch_.substr(kBase.size() + 1);
  reg_->WriteString(kLocalMachine, wow, L"Bits", L"32");
  HKey key = 0;
  ASSERT_EQ(registry_->OpenKey(kLocalMachine, scratch_, kKeyRead, key), kErrorSuccess);
  std::uint32_t type = 0;
  std::vector<std::byte> data(16);
  std::uint32_t size = static_cast<std::uint32_t>(data.size());
  EXPECT_EQ(registry_->ReadValue(key, L"Bits", &type, data.data(), &size), kErrorSuccess);
  registry_->CloseKey(key);
  data.resize(size);
  EXPECT_EQ(data, Text16(redirected ? L"32" : L"64"));
  EXPECT_EQ(reg_->ReadString(kLocalMachine, scratch_, L"Bits", L""), L"64");
}
