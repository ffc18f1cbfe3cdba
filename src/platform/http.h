#pragma once
// HTTP requests to the maker's servers. Every call is one whole request on a client of its own.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Request headers: name and value, sent in this order.
using HttpHeaders = std::vector<std::pair<std::wstring, std::wstring>>;

// A program running elevated never holds more of a reply than this.
inline constexpr std::size_t kMaxReplyBytes = 1024 * 1024;

class Http {
 public:
  virtual ~Http() = default;
  // GET `url` with `headers` and no body, over TLS 1.2 or 1.3 where the system has them. True
  // with `body` set to the reply's bytes when any response arrived, whatever its status, and
  // empty when the body is longer than kMaxReplyBytes: a reply still, if one that says nothing.
  // False, `body` untouched, when none arrived (name, connection, TLS, time-out, a body cut
  // off). Up to 5 redirects within the request's own scheme, host and port are
  // followed; a redirect anywhere else is not, and is itself the response, so that the headers
  // go to no other host.
  virtual bool Get(std::wstring_view url, const HttpHeaders& headers, std::string& body) = 0;
  // POST `body` of `contentType` to `url`; true when any response arrived. Redirects are not
  // followed.
  virtual bool Post(std::wstring_view url, std::wstring_view contentType, std::string_view body) = 0;
};

} // namespace platform
