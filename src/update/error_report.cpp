#include "update/error_report.h"

#include "support/utf8.h"
#include "update/background.h"

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

} // namespace

std::optional<std::string> ErrorReportBody(const ErrorReport& report, const PersonalNames& names) {
  if (!names.Known()) return std::nullopt;
  std::string body;
  AppendField(body, "version", report.version);
  AppendField(body, "windows", report.windows);
  AppendField(body, "language", report.language);
  AppendField(body, "error", WithoutPersonalNames(report.text, names));
  return body;
}

void SendErrorReport(std::shared_ptr<platform::Http> http, std::wstring url, std::string body) {
  RunInBackground([http = std::move(http), url = std::move(url), body = std::move(body)] {
    http->Post(url, kReportContentType, body);
  });
}
