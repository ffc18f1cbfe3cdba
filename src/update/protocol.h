#pragma once
// What the start-up request tells the maker's server of the program: its version, language,
// debug switch and installation identifier.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_info.h"
#include "platform/http.h"
#include "platform/registry.h"

// `format` with the four numbers of `file`'s file version (major, minor, release, build) as
// unsigned decimals; "0.0.0.0" when the file has no version information or no fixed block.
// `format` takes four numbers, as "%d.%d.%d.%d" does.
std::wstring GetVersionText(std::wstring_view format, platform::FileInfo& info, std::wstring_view file);

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// A new installation identifier of 32 characters: 8 hexadecimal digits of random(0x7FFFFFFF),
// the date as yymmdd, 4 of random(0xFFFF), the time as hhnnss, 8 of random(0x7FFFFFFF); digits
// upper-case. `random(n)` gives 0 to n - 1 from the system's cryptographic generator, or
// nothing when it fails: then there is no identifier (empty). The date and the time are read
// from `now` apart.
std::wstring NewUnionID(const std::function<std::optional<std::uint32_t>(std::uint32_t)>& random,
                        const std::function<LocalTime()>& now);

// Whether `id` is laid out exactly as NewUnionID makes one: 32 characters, upper-case
// hexadecimal digits in the random fields and decimal digits in the date and the time.
bool IsUnionID(std::wstring_view id);

// The identifier of HKCU\Software\Veltrano "VelaUID", written from `newId` first when the value
// is missing and never replaced. Empty when the key cannot be opened, or the value is not a
// string laid out as an identifier (it is left as it is).
std::wstring GetUnionID(platform::Registry& registry, const std::function<std::wstring()>& newId);

// What the request tells, read on the request's own thread.
struct Identity {
  std::function<std::wstring()> version; // GetVersionText("%d.%d.%d.%d") of the program
  std::wstring language;                 // the current language
  bool debug = false;                    // the debug switch; the released program never sets it
  std::function<std::wstring()> unionId; // GetUnionID
};

// "User-Version", "User-Language", "User-Debug", "User-Union", in this order.
platform::HttpHeaders RequestHeaders(const Identity& identity);
// The "hold" notice's: "User-Version" and "User-Command: hold" only.
platform::HttpHeaders HoldHeaders(const Identity& identity);

// One GET of `url`: true with the body decoded as UTF-8 into `reply` on any response; false,
// `reply` untouched, on a failure. A header value with a control character (CR, LF...) goes
// empty.
bool HttpGet(platform::Http& http, std::wstring_view url, const platform::HttpHeaders& headers, std::wstring& reply);
