#pragma once
// The registry keys of Windows that the tests seed and read, spelt out once here and apart from
// the program's own texts, so that a wrong text in the program shows.
#include <string>

namespace keys {

inline const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kRun32 = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kApproved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved";
inline const std::wstring kApprovedRun = kApproved + L"\\Run";
inline const std::wstring kApprovedRun32 = kApproved + L"\\Run32";
inline const std::wstring kApprovedStartupFolder = kApproved + L"\\StartupFolder";
inline const std::wstring kServices = L"System\\CurrentControlSet\\Services";

} // namespace keys
