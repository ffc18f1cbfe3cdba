#pragma once
// The report of an error the program showed in its error box, sent to the maker's report
// server: what the program and the system are, and the error's text without any name of the
// user or the machine.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http.h"
#include "support/personal_names.h"

struct ErrorReport {
  std::wstring version;  // the program's, as "User-Version" sends it
  std::wstring windows;  // the system's version, "major.minor.build"
  std::wstring language; // the current language
  std::wstring text;     // the error as the box shows it
};

inline constexpr std::wstring_view kReportContentType = L"application/x-www-form-urlencoded; charset=utf-8";

// The report form-encoded in UTF-8 (version, windows, language, error), its text without
// personal names; none when the names are not known, so that nothing could be hidden.
std::optional<std::string> ErrorReportBody(const ErrorReport& report, const PersonalNames& names);

// POSTs `body` once on a thread of its own; no retry, and a failure is silent.
void SendErrorReport(std::shared_ptr<platform::Http> http, std::wstring url, std::string body);
