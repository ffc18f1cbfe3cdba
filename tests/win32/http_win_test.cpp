// WinHTTP and the update check against the maker's reference server, over HTTPS with a
// throwaway certificate authority. http_test.sh starts the server and hands over its address,
// its log, its reply file and the authority.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <nlohmann/json.hpp>

#include "common/update_fakes.h"
#include "fakes/fake_shell.h"
#include "support/utf8.h"
#include "update/background.h"
#include "update/check_update.h"
#include "update/error_report.h"
#include "update/win32/update_win.h"
#include "win32/wine.h"
#include "windows/http_win.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(name, value, std::size(value));
  return length && length < std::size(value) ? std::wstring(value, length) : std::wstring();
}

// The server's address, its request log and its reply file, from the wrapper.
struct Server {
  std::wstring origin = Environment(L"TARNWICK_TEST_SERVER"); // https://localhost:PORT
  std::wstring log = Environment(L"TARNWICK_TEST_LOG");
  std::wstring reply = Environment(L"TARNWICK_TEST_REPLY");

  // The requests recorded since the last call, oldest first.
  std::vector<nlohmann::json> TakeRequests() {
    std::ifstream file{std::filesystem::path(log)};
    std::vector<nlohmann::json> requests;
    for (std::string line; std::getline(file, line);) requests.push_back(nlohmann::json::parse(line));
    std::vector<nlohmann::json> fresh(requests.begin() + std::min(seen_, requests.size()), requests.end());
    seen_ = requests.size();
    return fresh;
  }
  // The requests recorded since the last take, once there are `count` of them or thirty seconds
  // have passed: requests sent on a thread of their own.
  std::vector<nlohmann::json> WaitForRequests(std::size_t count) {
    std::vector<nlohmann::json> requests;
    for (int wait = 0; wait < 3000 && requests.size() < count; ++wait) {
      Sleep(10);
      for (auto& request : TakeRequests()) requests.push_back(std::move(request));
    }
    return requests;
  }
  void SetReply(const std::string& text) { std::ofstream(std::filesystem::path(reply), std::ios::binary | std::ios::trunc) << text; }

 private:
  std::size_t seen_ = 0;
};

Server& TheServer() {
  static Server server;
  return server;
}

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server.origin.empty()) << "run through http_test.sh";
    server.TakeRequests();
  }
  Server& server = TheServer();
  platform::Win32Http http;
};

using Headers = std::vector<std::pair<std::string, std::string>>;

Headers HeadersOf(const nlohmann::json& request) {
  Headers headers;
  for (const auto& pair : request["headers"]) headers.emplace_back(pair[0], pair[1]);
  return headers;
}

bool Has(const Headers& headers, const std::string& name) {
  for (const auto& [n, v] : headers) {
    if (_stricmp(n.c_str(), name.c_str()) == 0) return true;
  }
  return false;
}

Identity TestIdentity() {
  return Identity{[] { return std::wstring(L"1.0.3.0"); }, L"ko", false,
                  [] { return std::wstring(L"0000000A240115000A13450200000001"); }};
}

TEST_F(HttpTest, SendsTheHeadersInOrderAndNoUserAgent) {
  server.SetReply(R"({"name_white":["Ünïcode 한글"]})");
  std::string body = "untouched";
  ASSERT_TRUE(http.Get(server.origin + L"/api.init.php", RequestHeaders(TestIdentity()), body));
  EXPECT_EQ(body, R"({"name_white":["Ünïcode 한글"]})");
  const auto requests = server.TakeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["method"], "GET");
  EXPECT_EQ(requests[0]["path"], "/api.init.php");
  const Headers headers = HeadersOf(requests[0]);
  EXPECT_FALSE(Has(headers, "User-Agent"));
  // The system adds its own (Host, Connection) before; the program's come in the list's order.
  Headers own;
  for (const auto& header : headers) {
    if (header.first.starts_with("User-")) own.push_back(header);
  }
  EXPECT_EQ(own, (Headers{{"User-Version", "1.0.3.0"},
                          {"User-Language", "ko"},
                          {"User-Debug", "false"},
                          {"User-Union", "0000000A240115000A13450200000001"}}));
}

TEST_F(HttpTest, AnIdentifierTheRegistryCouldNotGiveIsSentEmpty) {
  Identity identity = TestIdentity();
  identity.unionId = [] { return std::wstring(); };
  std::string body;
  ASSERT_TRUE(http.Get(server.origin + L"/api.init.php", RequestHeaders(identity), body));
  const auto requests = server.TakeRequests();
  ASSERT_EQ(requests.size(), 1u);
  const Headers headers = HeadersOf(requests[0]);
  EXPECT_TRUE(Has(headers, "User-Union")) << "the header goes with no value";
  EXPECT_TRUE(Has(headers, "User-Debug"));
}

TEST_F(HttpTest, AnyResponseIsAReplyWhatItsStatusOrCharset) {
  server.SetReply("{\"text\":\"\xED\x95\x9C\"}");
  const struct {
    const wchar_t* path;
    const wchar_t* reply;
  } cases[] = {
      {L"/status/500/api.init.php", L"<html><body><h1>500</h1></body></html>"},
      {L"/status/404/api.init.php", L"<html><body><h1>404</h1></body></html>"},
      {L"/charset/iso-8859-1/api.init.php", L"{\"text\":\"\uD55C\"}"},
      {L"/redirect/1/api.init.php", L"{\"text\":\"\uD55C\"}"},
      {L"/redirect/4/api.init.php", L"{\"text\":\"\uD55C\"}"},
      {L"/redirect/5/api.init.php", L"{\"text\":\"\uD55C\"}"},
  };
  for (const auto& c : cases) {
    std::wstring reply = L"untouched";
    EXPECT_TRUE(HttpGet(http, server.origin + c.path, {}, reply)) << c.path;
    EXPECT_EQ(reply, c.reply) << c.path;
  }
}

TEST_F(HttpTest, NothingOlderThanTls12IsSpoken) {
  std::string body = "untouched";
  EXPECT_FALSE(http.Get(Environment(L"TARNWICK_TEST_OLD_TLS_SERVER") + L"/api.init.php", {}, body))
      << "a server of TLS 1.1 at most gets no request";
  EXPECT_EQ(body, "untouched");
  EXPECT_TRUE(http.Get(server.origin + L"/api.init.php", {}, body)) << "TLS 1.2 or 1.3";
}

TEST_F(HttpTest, ARedirectToAnotherHostIsNotFollowedAndIsItselfTheReply) {
  server.SetReply("{}");
  std::wstring reply;
  EXPECT_TRUE(HttpGet(http, server.origin + L"/elsewhere/api.init.php", RequestHeaders(TestIdentity()), reply));
  EXPECT_EQ(reply, L"moved elsewhere");
  const auto requests = server.TakeRequests();
  ASSERT_EQ(requests.size(), 1u) << "the headers went to the request's host alone";
  EXPECT_EQ(requests[0]["path"], "/elsewhere/api.init.php");
}

TEST_F(HttpTest, NoHeaderValueCarriesALineBreak) {
  server.SetReply("{}");
  std::wstring reply;
  EXPECT_TRUE(HttpGet(http, server.origin + L"/api.init.php",
                      {{L"User-Version", L"1.0.3.0"}, {L"User-Union", L"ID\r\nUser-Command: hold"}}, reply));
  const auto requests = server.TakeRequests();
  ASSERT_EQ(requests.size(), 1u);
  const Headers headers = HeadersOf(requests[0]);
  EXPECT_FALSE(Has(headers, "User-Command"));
  EXPECT_TRUE(std::find(headers.begin(), headers.end(), std::pair<std::string, std::string>{"User-Union", ""}) !=
              headers.end());
}

TEST_F(HttpTest, NoResponseIsAFailureThatLeavesTheReplyAlone) {
  const std::wstring refused = L"https://localhost:" + Environment(L"TARNWICK_TEST_CLOSED_PORT") + L"/api.init.php";
  const struct {
    std::wstring url;
    const char* why;
  } cases[] = {
      {refused, "nobody listens"},
      {server.origin + L"/redirect/6/api.init.php", "more than 5 redirects"},
      {L"http://" + server.origin.substr(8) + L"/api.init.php", "plain HTTP to a TLS port"},
      {L"ftp://localhost/api.init.php", "not HTTP"},
      {L"not an address", "not an address"},
  };
  for (const auto& c : cases) {
    std::string body = "untouched";
    EXPECT_FALSE(http.Get(c.url, {}, body)) << c.why;
    EXPECT_EQ(body, "untouched") << c.why;
  }
}

// CheckUpdate over WinHTTP with a fake clock: the worker's sequence against a real network.
struct Check {
  std::shared_ptr<platform::Win32Http> http = std::make_shared<platform::Win32Http>();
  std::shared_ptr<FakeMainThread> mainThread = std::make_shared<FakeMainThread>();
  std::shared_ptr<std::atomic<long long>> paused = std::make_shared<std::atomic<long long>>(0); // ms asked for
  std::function<bool(std::chrono::milliseconds)> Pause() {
    return [paused = paused](std::chrono::milliseconds duration) {
      *paused += duration.count();
      return true;
    };
  }
  FakeNotification notification;
  platform::FakeShell shell;

  // CheckUpdate without a callback: it returns once the worker ended.
  void Run(const std::wstring& url) {
    CheckUpdate(url, nullptr, 10,
                UpdateCheck{http, TestIdentity(), Pause(), mainThread, &notification, &shell});
  }
};

TEST_F(HttpTest, AnUnreachableServerIsTriedSixTimesTenSecondsApart) {
  Check check;
  bool called = false;
  std::wstring reply = L"x";
  const std::wstring url = L"https://localhost:" + Environment(L"TARNWICK_TEST_CLOSED_PORT") + L"/api.init.php";
  std::atomic<bool> done = false;
  CheckUpdate(
      url,
      [&](bool accepted, const std::wstring& text) {
        called = !accepted;
        reply = text;
        done = true;
      },
      10,
      UpdateCheck{check.http, TestIdentity(), check.Pause(), check.mainThread, &check.notification, &check.shell});
  check.mainThread->ServeUntil([&] { return done.load(); });
  EXPECT_TRUE(called);
  EXPECT_EQ(reply, L"");
  EXPECT_EQ(*check.paused, 60000) << "ten seconds after each of the six failures";
}

TEST_F(HttpTest, ABodyOver1MiBIsAnEmptyReplyTakenAtTheFirstAttempt) {
  std::string body;
  EXPECT_TRUE(http.Get(server.origin + L"/big/1048576/api.init.php", {}, body)) << "exactly 1 MiB is read";
  EXPECT_EQ(body.size(), 1048576u);
  body = "untouched";
  EXPECT_TRUE(http.Get(server.origin + L"/big/1048577/api.init.php", {}, body)) << "a response arrived";
  EXPECT_EQ(body, "");

  Check check;
  std::wstring reply = L"x";
  std::atomic<bool> done = false;
  CheckUpdate(
      server.origin + L"/big/1048577/api.init.php",
      [&](bool, const std::wstring& text) {
        reply = text;
        done = true;
      },
      10, UpdateCheck{check.http, TestIdentity(), check.Pause(), check.mainThread, &check.notification, &check.shell});
  check.mainThread->ServeUntil([&] { return done.load(); });
  EXPECT_EQ(reply, L"");
  EXPECT_EQ(*check.paused, 0) << "no second attempt";
  EXPECT_EQ(server.TakeRequests().size(), 3u) << "the two above and the check's one";
}

TEST_F(HttpTest, TheHoldNoticeCarriesTheVersionAndTheCommandOnly) {
  server.SetReply(R"({"update":"https://dl.example/setup.exe","info":{"style":"hold","text":"Later"}})");
  Check check;
  check.notification.tickHold = true;
  check.Run(server.origin + L"/api.init.php");
  EXPECT_EQ(check.notification.events, (std::vector<std::wstring>{L"dialog 10"}));
  const std::vector<nlohmann::json> requests = server.WaitForRequests(2);
  ASSERT_EQ(requests.size(), 2u);
  Headers own;
  for (const auto& header : HeadersOf(requests[1])) {
    if (header.first.starts_with("User-")) own.push_back(header);
  }
  EXPECT_EQ(own, (Headers{{"User-Version", "1.0.3.0"}, {"User-Command", "hold"}}));
  EXPECT_EQ(requests[1]["path"], "/api.init.php");
}

TEST_F(HttpTest, AddressesFromTheReplyThatAreNoWebAddressesAreNeitherOfferedNorOpened) {
  for (const char* address : {R"(C:\\Windows\\System32\\cmd.exe)", R"(\\\\server\\share\\setup.exe)",
                              "file:///C:/Windows/System32/calc.exe", "ms-settings:windowsupdate",
                              "javascript:alert(1)", "search-ms:query=x", " https://x.example/s.exe"}) {
    server.SetReply(std::string(R"({"update":")") + address + R"(","notify":")" + address + "\"}");
    Check check;
    check.notification.answerYes = true;
    check.Run(server.origin + L"/api.init.php");
    EXPECT_TRUE(check.notification.events.empty()) << address;
    EXPECT_TRUE(check.shell.Opened.empty()) << address;
  }
}

TEST_F(HttpTest, AnErrorReportIsPostedOnceWithItsFields) {
  const std::string body = *ErrorReportBody({L"1.0.3.0", L"10.0.19045", L"en", L"Cannot create C:\\Users\\bob\\x.txt"},
                                            PersonalNames{{L"C:\\Users\\bob"}, {}, L"C:\\Users", L"bob", {L"PC"}});
  SendErrorReport(std::make_shared<platform::Win32Http>(), server.origin + L"/except.php", body);
  const std::vector<nlohmann::json> requests = server.WaitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(WaitForBackgroundRequests(std::chrono::seconds(5)));
  EXPECT_TRUE(server.TakeRequests().empty()) << "sent once, not retried";
  EXPECT_EQ(requests[0]["method"], "POST");
  EXPECT_EQ(requests[0]["path"], "/except.php");
  EXPECT_EQ(requests[0]["body"], body);
  EXPECT_NE(body.find("%25USERPROFILE%25%5Cx.txt"), std::string::npos);
  const Headers headers = HeadersOf(requests[0]);
  EXPECT_TRUE(std::find(headers.begin(), headers.end(),
                        std::pair<std::string, std::string>{"Content-Type", Utf8FromWide(kReportContentType)}) !=
              headers.end());
}

TEST_F(HttpTest, TheProgramsReportNamesItsVersionsAndLanguageAndHidesTheUserAndTheMachine) {
  wchar_t profile[MAX_PATH] = {}, user[256] = {}, computer[256] = {};
  ASSERT_TRUE(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH));
  DWORD size = 256;
  ASSERT_TRUE(GetUserNameW(user, &size));
  size = 256;
  ASSERT_TRUE(GetComputerNameW(computer, &size));
  ReportError(server.origin, L"ko",
              std::wstring(L"Cannot save ") + profile + L"\\목록.txt for " + user + L" on " + computer);
  const std::vector<nlohmann::json> requests = server.WaitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["path"], "/except.php");
  const std::string body = requests[0]["body"];
  EXPECT_TRUE(body.starts_with("version=0.0.0.0&windows=10.0.")) << body << " (this test program has no version)";
  EXPECT_TRUE(body.ends_with("&language=ko&error=Cannot%20save%20%25USERPROFILE%25%5C%EB%AA%A9%EB%A1%9D.txt"
                             "%20for%20%25USERNAME%25%20on%20%25COMPUTERNAME%25"))
      << body;
}

TEST(SystemRandom, DrawsEveryBoundsValuesFromTheSystemsGenerator) {
  for (const std::uint32_t bound : {2u, 0xFFFFu, 0x7FFFFFFFu}) {
    std::set<std::uint32_t> seen;
    for (int draw = 0; draw < 200; ++draw) {
      const std::optional<std::uint32_t> value = SystemRandom(bound);
      ASSERT_TRUE(value) << bound;
      EXPECT_LT(*value, bound);
      seen.insert(*value);
    }
    EXPECT_GT(seen.size(), 1u) << bound;
  }
}

} // namespace
