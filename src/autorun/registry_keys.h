#pragma once
// The registry keys the sources read and write, as passed to TReg. The Run keys begin with "\",
// so that root, key and value name join into a location text; the StartupApproved keys are
// read without the leading "\" and written with it, which names the same keys.
#include <string_view>

inline constexpr std::wstring_view kRunKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kRunKey32 = L"\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

// Beside the native Run keys; the 32-bit Run key's states are in the same text with "32".
inline constexpr std::wstring_view kApprovedRunKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr std::wstring_view kApprovedStartupFolderKey =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// One subkey per service, named as the service, holding what the service manager loads at boot.
inline constexpr std::wstring_view kServicesKey = L"SYSTEM\\CurrentControlSet\\Services";
