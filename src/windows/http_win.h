#pragma once
#include "platform/http.h"

namespace platform {

// WinHTTP, loaded from System32 at the first request: every request has a session of its own,
// no user agent, time-outs of 60 s, at most 5 redirects followed.
class Win32Http final : public Http {
 public:
  bool Get(std::wstring_view url, const HttpHeaders& headers, std::string& body) override;
  bool Post(std::wstring_view url, std::wstring_view contentType, std::string_view body) override;
};

} // namespace platform
