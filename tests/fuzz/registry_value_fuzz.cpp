// Registry values of any type and length, read through every reader: none crashes, and each
// answer keeps its rules (a number only from four bytes, text cut at its first NUL, binary data
// only from binary types).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "autorun/startup_approved.h"
#include "fakes/fake_registry.h"
#include "support/reg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint32_t type = data[0] % 13; // REG_NONE to REG_QWORD and one beyond
  const auto value = std::as_bytes(std::span(data + 1, size - 1));
  platform::FakeRegistry registry;
  HKey key = 0;
  if (registry.CreateKey(platform::kCurrentUser, L"Software\\Fuzz", win::kKeyWrite | win::kKeyWow64_64Key, key) !=
      win::kErrorSuccess) {
    __builtin_trap();
  }
  registry.WriteValue(key, L"Value", type, value);
  registry.CloseKey(key);

  const RegReader reader(registry, platform::kCurrentUser, L"\\Software\\Fuzz");
  const std::int32_t number = reader.ReadInteger(L"Value", 7);
  if (number != 7 && (value.size() != 4 || (type != win::kRegDword && type != win::kRegDwordBigEndian))) {
    __builtin_trap();
  }
  const std::wstring text = reader.ReadString(L"Value", L"<default>");
  if (text != L"<default>" && (text.size() > value.size() / 2 || text.find(L'\0') != std::wstring::npos)) {
    __builtin_trap();
  }
  const std::vector<std::byte> binary = reader.ReadBinary(L"Value");
  if (!binary.empty() && binary.size() != value.size()) __builtin_trap();
  IsStartupApproved(binary);
  if (registry.OpenHandles() != 1) __builtin_trap(); // the reader's own key only
  return 0;
}
