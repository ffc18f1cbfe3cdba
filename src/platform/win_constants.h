#pragma once
// Win32 numbers the portable core works with, spelt out so that it needs no <windows.h>.
#include <cstdint>

namespace win {

using Error = std::uint32_t; // a Win32 error code, as GetLastError or a Reg* function gives it

inline constexpr Error kErrorSuccess = 0;
inline constexpr Error kErrorFileNotFound = 2;
inline constexpr Error kErrorAccessDenied = 5;
inline constexpr Error kErrorInvalidHandle = 6;
inline constexpr Error kErrorInvalidParameter = 87;
inline constexpr Error kErrorInsufficientBuffer = 122;
inline constexpr Error kErrorBadPathname = 161;
inline constexpr Error kErrorMoreData = 234;
inline constexpr Error kErrorNoMoreItems = 259;
inline constexpr Error kErrorServiceDoesNotExist = 1060;

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegResourceList = 8;
inline constexpr std::uint32_t kRegFullResourceDescriptor = 9;
inline constexpr std::uint32_t kRegResourceRequirementsList = 10;
inline constexpr std::uint32_t kRegQword = 11;

// Registry access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x1;
inline constexpr std::uint32_t kKeySetValue = 0x2;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x8;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200;
inline constexpr std::uint32_t kStandardRightsRead = 0x20000;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

// Service control manager.
inline constexpr std::uint32_t kScManagerConnect = 0x1;
inline constexpr std::uint32_t kScManagerEnumerateService = 0x4;
inline constexpr std::uint32_t kServiceQueryConfig = 0x1;
inline constexpr std::uint32_t kServiceChangeConfig = 0x2;
inline constexpr std::uint32_t kServiceStop = 0x20;
inline constexpr std::uint32_t kServiceWin32OwnProcess = 0x10;
inline constexpr std::uint32_t kServiceWin32ShareProcess = 0x20;
inline constexpr std::uint32_t kServiceWin32 = 0x30;
inline constexpr std::uint32_t kServiceStateAll = 3;
inline constexpr std::uint32_t kServiceAutoStart = 2;
inline constexpr std::uint32_t kServiceDemandStart = 3;
inline constexpr std::uint32_t kServiceDisabled = 4;
inline constexpr std::uint32_t kServiceNoChange = 0xFFFFFFFF;

} // namespace win
