#include "update/error_report.h"


#include "support/text.h"
#include "update/background.h"
#include "support/utf8.h"

namespace {

void AppendField(std::string& body, std::string_view name, std::wstring_view value) {
  if (!body.empty()) body += '&';
  body += name;
  body += '=';
  for (const unsigned char c : Utf8FromWide(value)) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      body += static_cast<char>(c);
    } else {
      body += '%';
      body += "0123456789ABCDEF"[c >> 4];
      body += "0123456789ABCDEF"[c & 0xF];
    }
  }
}

// Whether a path's folder name ends before `c`.
bool IsPathBreak(wchar_t c) { return c == L'\\' || c == L'/' || c == L'"' || c == L'\'' || c <= L' '; }

} // namespace

std::string ErrorReportBody(const ErrorReport& report, std::wstring_view profile) {
  std::wstring text = report.text;
  // The profile without its trailing separators, so that "C:\Users\Name\" and "C:\Users\Name" both match.
  while (!profile.empty() && (profile.back() == L'\\' || profile.back() == L'/')) profile.remove_suffix(1);
  if (!profile.empty()) {
    constexpr std::wstring_view kProfile = L"%USERPROFILE%";
    for (std::size_t from = 0;;) {
      const std::size_t found = FindAsciiNoCase(std::wstring_view(text).substr(from), profile);
      if (found == std::wstring::npos) break;
      const std::size_t at = from + found, after = at + profile.size();
      if (after < text.size() && !IsPathBreak(text[after])) { // "C:\Users\Bo" within "C:\Users\Bob"
        from = at + 1;
        continue;
      }
      text.replace(at, profile.size(), kProfile);
      from = at + kProfile.size();
    }
  }
  std::string body;
  AppendField(body, "version", report.version);
  AppendField(body, "windows", report.windows);
  AppendField(body, "language", report.language);
  AppendField(body, "error", text);
  return body;
}

void SendErrorReport(std::shared_ptr<platform::Http> http, std::wstring url, std::string body) {
  RunInBackground([http = std::move(http), url = std::move(url), body = std::move(body)] {
    http->Post(url, kReportContentType, body);
  });
}
