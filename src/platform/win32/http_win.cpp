#include "platform/win32/http_win.h"

#include <windows.h>

#include <winhttp.h>

#include <memory>

#include "platform/win32/system_dll.h"

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
        CloseHandle(dll_.Function<decltype(WinHttpCloseHandle)>("WinHttpCloseHandle")) {}

  explicit operator bool() const {
    return Open && CrackUrl && Connect && OpenRequest && SetTimeouts && SetOption && AddRequestHeaders &&
           SendRequest && ReceiveResponse && ReadData && CloseHandle;
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
  decltype(WinHttpCloseHandle)* const CloseHandle;
};

// One request on a session of its own. True when a response arrived (and, with `reply`, its
// body of at most kMaxReplyBytes was read whole into it).
bool Request(const wchar_t* method, std::wstring_view url, const HttpHeaders& headers, std::string_view body,
             std::string* reply) {
  // Loaded once and never unloaded: WinHTTP finishes some of its work on threads of its own
  // after the handles are closed, and requests run on several threads.
  static const WinHttp& http = *new WinHttp;
  if (!http) return false;
  const auto close = [&](HINTERNET handle) { http.CloseHandle(handle); };
  using Handle = std::unique_ptr<void, decltype(close)>;

  const std::wstring address(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!http.CrackUrl(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return false;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                            std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);

  // No user agent of the program's own: the request carries no User-Agent header.
  const Handle session(http.Open(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0),
                       close);
  if (!session) return false;
  http.SetTimeouts(session.get(), 0, kTimeoutMs, kTimeoutMs, kTimeoutMs);
  DWORD responseTimeout = kTimeoutMs, redirects = kMaxRedirects;
  http.SetOption(session.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof(responseTimeout));
  const Handle connection(http.Connect(session.get(), host.c_str(), parts.nPort, 0), close);
  if (!connection) return false;
  const Handle request(http.OpenRequest(connection.get(), method, path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES,
                                        parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0),
                       close);
  if (!request) return false;
  http.SetOption(request.get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof(redirects));
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
  // A body longer than the bound is refused as soon as it shows, never held whole.
  std::string received;
  char buffer[16384];
  for (DWORD read = 0;; received.append(buffer, read)) {
    if (!http.ReadData(request.get(), buffer, sizeof(buffer), &read)) return false;
    if (read == 0) break;
    if (received.size() + read > kMaxReplyBytes) return false;
  }
  *reply = std::move(received);
  return true;
}

} // namespace

bool Win32Http::Get(std::wstring_view url, const HttpHeaders& headers, std::string& body) {
  return Request(L"GET", url, headers, {}, &body);
}

bool Win32Http::Post(std::wstring_view url, std::wstring_view contentType, std::string_view body) {
  return Request(L"POST", url, {{L"Content-Type", std::wstring(contentType)}}, body, nullptr);
}

} // namespace platform
