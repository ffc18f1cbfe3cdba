#include "windows/http_win.h"

#include <windows.h>

#include <winhttp.h>

#include <memory>
#include <optional>
#include <string>

#include "windows/system_dll.h"

namespace platform {

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kMaxRedirects = 5;

// The functions of winhttp.dll this program uses.
class WinHttp {
 public:
  WinHttp()
      : Open(dll_.Function<decltype(WinHttpOpen)>("WinHttpOpen")),
        CrackUrl(dll_.Function<decltype(WinHttpCrackUrl)>("WinHttpCrackUrl")),
        Connect(dll_.Function<decltype(WinHttpConnect)>("WinHttpConnect")),
        OpenRequest(dll_.Function<decltype(WinHttpOpenRequest)>("WinHttpOpenRequest")),
        SetTimeouts(dll_.Function<decltype(WinHttpSetTimeouts)>("WinHttpSetTimeouts")),
        SetOption(dll_.Function<decltype(WinHttpSetOption)>("WinHttpSetOption")),
        AddRequestHeaders(dll_.Function<decltype(WinHttpAddRequestHeaders)>("WinHttpAddRequestHeaders")),
        SendRequest(dll_.Function<decltype(WinHttpSendRequest)>("WinHttpSendRequest")),
        ReceiveResponse(dll_.Function<decltype(WinHttpReceiveResponse)>("WinHttpReceiveResponse")),
        ReadData(dll_.Function<decltype(WinHttpReadData)>("WinHttpReadData")),
        QueryHeaders(dll_.Function<decltype(WinHttpQueryHeaders)>("WinHttpQueryHeaders")),
        CloseHandle(dll_.Function<decltype(WinHttpCloseHandle)>("WinHttpCloseHandle")) {}

  explicit operator bool() const {
    return Open && CrackUrl && Connect && OpenRequest && SetTimeouts && SetOption && AddRequestHeaders &&
           SendRequest && ReceiveResponse && ReadData && QueryHeaders && CloseHandle;
  }

 private:
  SystemDll dll_{L"winhttp.dll"};

 public:
  decltype(WinHttpOpen)* const Open;
  decltype(WinHttpCrackUrl)* const CrackUrl;
  decltype(WinHttpConnect)* const Connect;
  decltype(WinHttpOpenRequest)* const OpenRequest;
  decltype(WinHttpSetTimeouts)* const SetTimeouts;
  decltype(WinHttpSetOption)* const SetOption;
  decltype(WinHttpAddRequestHeaders)* const AddRequestHeaders;
  decltype(WinHttpSendRequest)* const SendRequest;
  decltype(WinHttpReceiveResponse)* const ReceiveResponse;
  decltype(WinHttpReadData)* const ReadData;
  decltype(WinHttpQueryHeaders)* const QueryHeaders;
  decltype(WinHttpCloseHandle)* const CloseHandle;
};

// An address taken apart.
struct Address {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path; // with the query

  bool SameOrigin(const Address& other) const {
    return scheme == other.scheme && port == other.port && lstrcmpiW(host.c_str(), other.host.c_str()) == 0;
  }
};

std::optional<Address> Crack(const WinHttp& http, const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!http.CrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  return Address{parts.nScheme, std::wstring(parts.lpszHostName, parts.dwHostNameLength), parts.nPort,
                 std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                     std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength)};
}

// Where a redirect's Location leads from `from`: an address of its own, or a path on the same origin.
std::optional<Address> Follow(const WinHttp& http, const Address& from, const std::wstring& location) {
  if (location.starts_with(L"/") && !location.starts_with(L"//")) {
    Address next = from;
    next.path = location;
    return next;
  }
  if (location.starts_with(L"//")) {
    return Crack(http, (from.scheme == INTERNET_SCHEME_HTTPS ? L"https:" : L"http:") + location);
  }
  if (auto next = Crack(http, location)) return next;
  Address next = from; // relative to the current path's folder
  next.path = from.path.substr(0, from.path.find_last_of(L'/') + 1) + location;
  return next;
}

// Only TLS 1.2 and 1.3; where the system knows no TLS 1.3, TLS 1.2; where it cannot be told
// (Windows 7 without its update), its own defaults.
void SetSecureProtocols(const WinHttp& http, HINTERNET session) {
  for (DWORD protocols : {DWORD{WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | 0x00002000}, // and TLS 1.3
                          DWORD{WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2}}) {
    if (http.SetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof(protocols))) return;
  }
}

// One request on a session of its own. True when a response arrived (and, with `reply`, its
// body was read whole into it, or left empty when it is longer than kMaxReplyBytes). With
// `reply` (a GET) redirects on the same origin are followed, up to kMaxRedirects.
bool Request(const wchar_t* method, std::wstring_view url, const HttpHeaders& headers, std::string_view body,
             std::string* reply) {
  // Loaded once and never unloaded: WinHTTP finishes some of its work on threads of its own
  // after the handles are closed, and requests run on several threads.
  static const WinHttp& http = *new WinHttp;
  if (!http) return false;
  const auto close = [&](HINTERNET handle) { http.CloseHandle(handle); };
  using Handle = std::unique_ptr<void, decltype(close)>;

  const std::optional<Address> origin = Crack(http, std::wstring(url));
  if (!origin) return false;

  // No user agent of the program's own: the request carries no User-Agent header.
  const Handle session(http.Open(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0),
                       close);
  if (!session) return false;
  http.SetTimeouts(session.get(), 0, kTimeoutMs, kTimeoutMs, kTimeoutMs);
  DWORD responseTimeout = kTimeoutMs;
  http.SetOption(session.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof(responseTimeout));
  SetSecureProtocols(http, session.get());
  const Handle connection(http.Connect(session.get(), origin->host.c_str(), origin->port, 0), close);
  if (!connection) return false;

  Address at = *origin;
  for (DWORD redirects = 0;; ++redirects) {
    const Handle request(http.OpenRequest(connection.get(), method, at.path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                          WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          at.scheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0),
                         close);
    if (!request) return false;
    // Redirects are this function's to follow: WinHTTP would take the headers to any host.
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER, disable = WINHTTP_DISABLE_REDIRECTS;
    if (!http.SetOption(request.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof(policy)) &&
        !http.SetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable))) {
      return false;
    }
    for (const auto& [name, value] : headers) {
      const std::wstring line = name + L": " + value;
      if (!http.AddRequestHeaders(request.get(), line.c_str(), static_cast<DWORD>(line.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD)) {
        return false;
      }
    }
    void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
    const DWORD length = static_cast<DWORD>(body.size());
    if (!http.SendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, data, length, length, 0) ||
        !http.ReceiveResponse(request.get(), nullptr)) {
      return false;
    }
    if (!reply) return true;

    DWORD status = 0, size = sizeof(status);
    http.QueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                      &status, &size, WINHTTP_NO_HEADER_INDEX);
    if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) {
      wchar_t location[2048];
      size = sizeof(location);
      if (http.QueryHeaders(request.get(), WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, location, &size,
                            WINHTTP_NO_HEADER_INDEX)) {
        const std::optional<Address> next = Follow(http, at, std::wstring(location, size / sizeof(wchar_t)));
        if (next && next->SameOrigin(*origin)) {
          if (redirects == kMaxRedirects) return false;
          at = *next;
          continue;
        }
      }
    }
    // A body longer than the bound is dropped as soon as it shows, never held whole, and the
    // rest left unread: the server answered, with nothing the program takes.
    std::string received;
    char buffer[16384];
    for (DWORD read = 0;; received.append(buffer, read)) {
      if (!http.ReadData(request.get(), buffer, sizeof(buffer), &read)) return false;
      if (read == 0) break;
      if (received.size() + read > kMaxReplyBytes) {
        received.clear();
        break;
      }
    }
    *reply = std::move(received);
    return true;
  }
}

} // namespace

bool Win32Http::Get(std::wstring_view url, const HttpHeaders& headers, std::string& body) {
  return Request(L"GET", url, headers, {}, &body);
}

bool Win32Http::Post(std::wstring_view url, std::wstring_view contentType, std::string_view body) {
  return Request(L"POST", url, {{L"Content-Type", std::wstring(contentType)}}, body, nullptr);
}

} // namespace platform
