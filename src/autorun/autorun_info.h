#pragma once
// One autorun entry as a source reports it, and the list that owns the entries.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TAutorunInfo {
 public:
  std::wstring FileName; // the program file the entry starts: icon and version information
  std::wstring Caption;  // the entry's name as its source gives it
  std::wstring RawData;  // the source's own command text, exactly as read
  std::wstring Target;   // identifies the entry within its source; handed back to switch it
  std::wstring From;     // source tag
  bool Enabled = false;
  // A service's start type as configured (2 automatic, 3 manual, 4 disabled; Enabled is true
  // only for automatic); 0 for the other sources.
  std::uint32_t StartType = 0;
  // When the entry was last switched, as its StartupApproved value records it (a FILETIME, UTC);
  // 0 when none does, and always for scheduled tasks and services.
  std::uint64_t SwitchedAt = 0;
};

// Ordered, owning: clearing it frees every entry. Sources append at the end.
using AutorunList = std::vector<std::unique_ptr<TAutorunInfo>>;

// Source tags. Every other `From`, the empty text included, is a registry entry ("HKLM", "HKCU").
inline constexpr std::wstring_view kTagFile = L"FILE";
inline constexpr std::wstring_view kTagTask = L"SCHE";
inline constexpr std::wstring_view kTagService = L"SERV";

enum class AutorunSource { Registry, File, Task, Service };

// Which source a tag names, ASCII case ignored.
AutorunSource SourceOfTag(std::wstring_view from);
