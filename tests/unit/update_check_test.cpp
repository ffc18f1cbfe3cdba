#include <gtest/gtest.h>

#include <atomic>

#include "common/update_fakes.h"
#include "fakes/fake_file_info.h"
#include "fakes/fake_http.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "support/reg.h"
#include "support/utf8.h"
#include "update/background.h"
#include "update/check_update.h"
#include "update/error_report.h"

namespace {

using platform::HttpHeaders;

TEST(GetVersionText, PutsTheFileVersionIntoTheFormatOrGivesZeros) {
  platform::FakeFileInfo info;
  info.Versions[L"C:\\T\\tarnwick.exe"].FileVersion = 0x0001'0000'0003'0000;
  info.Versions[L"C:\\T\\big.exe"].FileVersion = 0xFFFF'0002'0003'0004;
  info.Versions[L"C:\\T\\nofixed.exe"];
  EXPECT_EQ(GetVersionText(L"%d.%d.%d.%d", info, L"C:\\T\\tarnwick.exe"), L"1.0.3.0");
  EXPECT_EQ(GetVersionText(L"%d.%d.%d.%d", info, L"C:\\T\\big.exe"), L"65535.2.3.4") << "words are unsigned";
  EXPECT_EQ(GetVersionText(L"v%d-%d-%d-%d", info, L"C:\\T\\tarnwick.exe"), L"v1-0-3-0");
  EXPECT_EQ(GetVersionText(L"%d.%d.%d.%d", info, L"C:\\T\\nofixed.exe"), L"0.0.0.0");
  EXPECT_EQ(GetVersionText(L"%d.%d.%d.%d", info, L"C:\\T\\none.exe"), L"0.0.0.0");
}

TEST(NewUnionID, LaysOutRandomNumbersDateAndTime) {
  std::vector<std::uint32_t> bounds;
  const auto random = [&](std::uint32_t bound) -> std::optional<std::uint32_t> {
    bounds.push_back(bound);
    return bound - 1; // the largest each may give
  };
  int reads = 0;
  const auto now = [&] {
    ++reads;
    return LocalTime{2024, 1, 15, 13, 45, 2};
  };
  const std::wstring id = NewUnionID(random, now);
  EXPECT_EQ(id, L"7FFFFFFE" L"240115" L"FFFE" L"134502" L"7FFFFFFE");
  EXPECT_EQ(bounds, (std::vector<std::uint32_t>{0x7FFFFFFF, 0xFFFF, 0x7FFFFFFF}));
  EXPECT_EQ(reads, 2) << "the date and the time are read apart";
  const auto ten = [](std::uint32_t) -> std::optional<std::uint32_t> { return 0xAu; };
  EXPECT_EQ(NewUnionID(ten, [] { return LocalTime{1999, 12, 31, 0, 0, 9}; }),
            L"0000000A" L"991231" L"000A" L"000009" L"0000000A");
  int draws = 0;
  const auto failsAtLast = [&](std::uint32_t) -> std::optional<std::uint32_t> {
    if (++draws == 3) return std::nullopt;
    return 1u;
  };
  EXPECT_EQ(NewUnionID(failsAtLast, now), L"") << "no identifier without the system's generator";
}

TEST(IsUnionID, TakesExactlyTheLayout) {
  const struct {
    const wchar_t* id;
    bool valid;
  } cases[] = {
      {L"7FFFFFFE240115FFFE1345027FFFFFFE", true},
      {L"0000000A991231000A0000090000000A", true},
      {L"7FFFFFFE240115FFFE1345027FFFFFF", false},   // 31 characters
      {L"7FFFFFFE240115FFFE1345027FFFFFFE0", false}, // 33
      {L"", false},
      {L"7fffffff240115FFFE1345027FFFFFFE", false}, // lower case
      {L"7FFFFFFE24011AFFFE1345027FFFFFFE", false}, // a letter in the date
      {L"7FFFFFFE240115FFFE13450B7FFFFFFE", false}, // and in the time
      {L"7FFFFFFE240115FFFE1345027FFFF\r\nX", false},
      {L"7FFFFFFE240115FFFE1345027FFFFFF ", false},
      {L"7FFFFFFE240115FFFE13450\u06627FFFFFFE", false}, // an Arabic-Indic two
  };
  for (const auto& c : cases) EXPECT_EQ(IsUnionID(c.id), c.valid) << c.id;
}

TEST(GetUnionID, CreatesTheIdentifierOnceAndNeverReplacesIt) {
  platform::FakeRegistry registry;
  int made = 0;
  const auto newId = [&] { return L"0000000A991231000A00000900000" + std::to_wstring(100 + ++made); };
  const std::wstring first = L"0000000A991231000A00000900000101";
  EXPECT_EQ(GetUnionID(registry, newId), first);
  EXPECT_EQ(GetUnionID(registry, newId), first) << "the same identifier on every run";
  EXPECT_EQ(made, 1);
  EXPECT_EQ(registry.RequestedAccess().front(), 0x2001Fu);
  EXPECT_EQ(registry.OpenHandles(), 0u);
  // Written as a string with its NUL, as Windows keeps it.
  HKey key = 0;
  ASSERT_EQ(registry.OpenKey(platform::kCurrentUser, L"Software\\Veltrano", 0x20019, key), 0u);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.ReadValue(key, L"VelaUID", &type, nullptr, &size), 0u);
  EXPECT_EQ(type, 1u);
  EXPECT_EQ(size, 66u);
  registry.CloseKey(key);

  // A stored value of another layout is never sent, and stays as it is.
  for (const std::wstring stored : {L"ID1", L"0000000A991231000A000009000001\r\n", L"0000000A991231000A0000090000010"}) {
    platform::FakeRegistry planted;
    TReg(planted).WriteString(platform::kCurrentUser, L"Software\\Veltrano", L"VelaUID", stored);
    EXPECT_EQ(GetUnionID(planted, newId), L"") << stored;
    EXPECT_EQ(TReg(planted).ReadString(platform::kCurrentUser, L"Software\\Veltrano", L"VelaUID", L""), stored);
  }
  // A generator that failed: nothing is stored, and the next run tries again.
  platform::FakeRegistry failed;
  EXPECT_EQ(GetUnionID(failed, [] { return std::wstring(); }), L"");
  EXPECT_EQ(GetUnionID(failed, newId).size(), 32u);

  // A value of another type is not replaced, and gives no identifier.
  platform::FakeRegistry other;
  TReg(other).WriteInteger(platform::kCurrentUser, L"Software\\Veltrano", L"VelaUID", 7);
  EXPECT_EQ(GetUnionID(other, newId), L"");
  EXPECT_EQ(TReg(other).ReadInteger(platform::kCurrentUser, L"Software\\Veltrano", L"VelaUID", 0), 7);

  // A key that cannot be opened for writing: empty, and nothing made.
  platform::FakeRegistry locked;
  TReg(locked).WriteString(platform::kCurrentUser, L"Software\\Veltrano", L"Other", L"x");
  locked.RestrictAccess(platform::kCurrentUser, L"Software\\Veltrano", 0x20019);
  made = 0;
  EXPECT_EQ(GetUnionID(locked, newId), L"");
  EXPECT_EQ(made, 0);
}

Identity TestIdentity() {
  return Identity{[] { return std::wstring(L"1.0.3.0"); }, L"ko", false, [] { return std::wstring(L"UID"); }};
}

TEST(RequestHeaders, AreTheFourInOrderAndTheHoldNoticeCarriesTwo) {
  EXPECT_EQ(RequestHeaders(TestIdentity()), (HttpHeaders{{L"User-Version", L"1.0.3.0"},
                                                         {L"User-Language", L"ko"},
                                                         {L"User-Debug", L"false"},
                                                         {L"User-Union", L"UID"}}));
  EXPECT_EQ(HoldHeaders(TestIdentity()), (HttpHeaders{{L"User-Version", L"1.0.3.0"}, {L"User-Command", L"hold"}}));
}

// The clock of a worker: the pauses it asked for, and the time after which the program ends.
// Shared with the worker, which may outlive the test by its last look at it.
struct Clock {
  std::vector<std::chrono::milliseconds> pauses;
  std::chrono::milliseconds waited{0};
  std::chrono::milliseconds endAt{-1};
  std::atomic<bool> toldToEnd = false; // the worker was told the program is ending
  bool Pause(std::chrono::milliseconds duration) {
    pauses.push_back(duration);
    if (endAt.count() >= 0 && waited + duration > endAt) {
      waited = endAt; // the pause ends as the program does
      toldToEnd = true;
      return false;
    }
    waited += duration;
    return true;
  }
};

// One CheckUpdate with fakes throughout.
struct Harness {
  std::shared_ptr<platform::FakeHttp> http = std::make_shared<platform::FakeHttp>();
  std::shared_ptr<FakeMainThread> mainThread = std::make_shared<FakeMainThread>();
  std::shared_ptr<Clock> clock = std::make_shared<Clock>();
  FakeNotification notification;
  platform::FakeShell shell;

  UpdateCheck Check() {
    return UpdateCheck{http,
                       TestIdentity(),
                       [clock = clock](std::chrono::milliseconds duration) { return clock->Pause(duration); },
                       mainThread,
                       &notification,
                       &shell};
  }
  struct Result {
    bool called = false, accepted = false;
    std::wstring reply;
  };
  // CheckUpdate with a callback, served until the callback ran or the worker gave up.
  Result Run(const std::wstring& url = L"https://api.example/api.init.php") {
    Result result;
    std::atomic<bool> finished = false;
    CheckUpdate(
        url,
        [&](bool accepted, const std::wstring& reply) {
          result = {true, accepted, reply};
          finished = true;
        },
        10, Check());
    mainThread->ServeUntil([&] { return finished || clock->toldToEnd; });
    return result;
  }
};

TEST(CheckUpdate, AnyResponseIsTheReplyAtTheFirstAttempt) {
  const std::string page = "<html>500 Internal Server Error</html>";
  const std::string whole(platform::kMaxReplyBytes, ' ');
  const struct {
    std::string answer;
    std::wstring reply;
    const char* why;
  } cases[] = {
      {page, WideFromUtf8(page), "an error page"},
      {whole, WideFromUtf8(whole), "a body of exactly the bound"},
      {whole + "{}", L"", "a longer body is an empty reply"},
  };
  for (const auto& c : cases) {
    Harness h;
    h.http->Answers = {c.answer};
    const auto result = h.Run();
    EXPECT_TRUE(result.called) << c.why;
    EXPECT_FALSE(result.accepted) << c.why;
    EXPECT_TRUE(result.reply == c.reply) << c.why;
    ASSERT_EQ(h.http->Requests().size(), 1u) << c.why;
    EXPECT_EQ(h.http->Requests()[0].url, L"https://api.example/api.init.php");
    EXPECT_EQ(h.http->Requests()[0].headers, RequestHeaders(TestIdentity()));
    EXPECT_TRUE(h.clock->pauses.empty()) << c.why;
    EXPECT_TRUE(h.notification.events.empty()) << c.why;
  }
}

TEST(CheckUpdate, AnUnreachableServerGetsSixAttemptsEachFollowedByTenSeconds) {
  Harness h;
  const auto result = h.Run();
  EXPECT_TRUE(result.called);
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(result.reply, L"");
  EXPECT_EQ(h.http->Requests().size(), 6u);
  EXPECT_EQ(h.clock->pauses, std::vector<std::chrono::milliseconds>(6, std::chrono::seconds(10)))
      << "ten seconds after each failure, the last included";

  Harness late; // the fourth attempt answers
  late.http->Answers = {std::nullopt, std::nullopt, std::nullopt, R"({"name_white":["x"]})"};
  EXPECT_EQ(late.Run().reply, LR"({"name_white":["x"]})");
  EXPECT_EQ(late.http->Requests().size(), 4u);
  EXPECT_EQ(late.clock->waited, std::chrono::seconds(30));
}

TEST(CheckUpdate, AProgramThatEndsDuringThePausesGetsNoCallback) {
  for (const int after : {0, 1, 9999, 25000}) {
    Harness h;
    h.clock->endAt = std::chrono::milliseconds(after);
    const auto result = h.Run();
    EXPECT_FALSE(result.called) << after;
    EXPECT_EQ(h.clock->waited.count(), after) << "the pause ends when the program does";
    EXPECT_EQ(h.http->Requests().size(), static_cast<std::size_t>(after / 10000 + 1)) << after;
    EXPECT_TRUE(h.notification.events.empty());
  }
}

TEST(CheckUpdate, TheDialogComesFirstThenTheNoticeThenTheCallback) {
  Harness h;
  h.notification.answerYes = true;
  const std::string reply = R"({"update":"https://dl.example/setup.exe","notify":"https://x.example/n"})";
  h.http->Answers = {reply};
  std::vector<std::wstring>& events = h.notification.events;
  Harness::Result result;
  CheckUpdate(
      L"https://api.example/api.init.php",
      [&](bool accepted, const std::wstring& text) {
        events.push_back(L"callback");
        result = {true, accepted, text};
      },
      10, h.Check());
  h.mainThread->ServeUntil([&] { return result.called; });
  EXPECT_EQ(events, (std::vector<std::wstring>{L"dialog 10", L"status https://x.example/n", L"callback"}));
  EXPECT_TRUE(result.accepted);
  EXPECT_EQ(h.notification.dialogData, WideFromUtf8(reply));
  EXPECT_EQ(h.shell.Opened, (std::vector<std::wstring>{L"https://dl.example/setup.exe"}));
}

TEST(CheckUpdate, WithoutACallbackItWaitsAndStillShowsTheDialog) {
  Harness h;
  h.http->Answers = {R"({"update":"https://dl.example/setup.exe"})"};
  CheckUpdate(L"https://api.example/api.init.php", nullptr, 10, h.Check());
  EXPECT_EQ(h.notification.events, (std::vector<std::wstring>{L"dialog 10"})) << "shown before CheckUpdate returned";
}

TEST(CheckUpdate, AGoneWindowTakesNoHandOver) {
  Harness h;
  h.mainThread->gone = true;
  h.http->Answers = {R"({"update":"https://dl.example/setup.exe"})"};
  CheckUpdate(L"https://api.example/api.init.php", nullptr, 10, h.Check());
  EXPECT_TRUE(h.notification.events.empty());
}

TEST(ReplyStep, OnlyWebAddressesAreOfferedOpenedOrNoticed) {
  const wchar_t* hostile[] = {
      L"C:\\\\Windows\\\\System32\\\\cmd.exe",
      L"\\\\\\\\server\\\\share\\\\setup.exe",
      L"file:///C:/Windows/System32/calc.exe",
      L"ms-settings:windowsupdate",
      L"javascript:alert(1)",
      L"search-ms:query=x",
      L" https://x.example/setup.exe",
      L"\\u0001https://x.example/setup.exe",
      L"https://x.example/a b",
  };
  for (const wchar_t* address : hostile) {
    FakeNotification notification;
    notification.answerYes = true;
    platform::FakeShell shell;
    const std::wstring data = std::wstring(LR"({"update":")") + address + LR"(","notify":")" + address + L"\"}";
    EXPECT_FALSE(ReplyStep(data, 10, notification, shell, [] {})) << address;
    EXPECT_TRUE(notification.events.empty()) << address;
    EXPECT_TRUE(shell.Opened.empty()) << address;
  }
  FakeNotification notification;
  platform::FakeShell shell;
  EXPECT_FALSE(ReplyStep(LR"({"update":"https://dl.example/s.exe"})", 10, notification, shell, [] {}));
  EXPECT_EQ(notification.events, (std::vector<std::wstring>{L"dialog 10"})) << "No: offered, not opened";
  EXPECT_TRUE(shell.Opened.empty());
}

TEST(ReplyStep, AnUpdateTheShellCouldNotOpenWasNotAccepted) {
  FakeNotification notification;
  notification.answerYes = true;
  platform::FakeShell shell;
  const std::wstring data = LR"({"update":"https://dl.example/s.exe"})";
  shell.Answer = false; // no desktop shell to open it without administrator rights
  EXPECT_FALSE(ReplyStep(data, 10, notification, shell, [] {})) << "the window stays";
  shell.Answer = true;
  EXPECT_TRUE(ReplyStep(data, 10, notification, shell, [] {}));
  EXPECT_EQ(shell.Opened, std::vector<std::wstring>{L"https://dl.example/s.exe"});
}

TEST(ReplyStep, TheHoldNoticeGoesWhateverTheAnswer) {
  Harness h;
  h.notification.tickHold = true;
  h.http->Answers = {R"({"update":"https://dl.example/s.exe","info":{"style":"hold","text":"Later"}})", ""};
  const auto result = h.Run();
  EXPECT_FALSE(result.accepted);
  for (int wait = 0; wait < 500 && h.http->Requests().size() < 2; ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto requests = h.http->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].url, L"https://api.example/api.init.php");
  EXPECT_EQ(requests[1].headers, HoldHeaders(TestIdentity())) << "neither language nor identifier";
}

TEST(BackgroundRequests, TheEndWaitsForThemButNotForever) {
  std::mutex gate;
  std::unique_lock closed(gate);
  RunInBackground([&] { const std::scoped_lock wait(gate); });
  EXPECT_FALSE(WaitForBackgroundRequests(std::chrono::milliseconds(30))) << "a request still on its way";
  closed.unlock();
  EXPECT_TRUE(WaitForBackgroundRequests(std::chrono::seconds(5)));
}

// A machine "DESK-7" (DNS "desk-7.corp.example") with the user "JohnSmith", whose profile has
// an 8.3 form, beside the users "Bob" and "Ann Lee".
PersonalNames SomeNames() {
  return PersonalNames{{L"C:\\Users\\JohnSmith", L"C:\\Users\\JOHNSM~1"},
                       {L"C:\\Users\\Bob", L"C:\\Users\\Ann Lee", L"C:\\Users\\ANNLEE~1"},
                       L"C:\\Users",
                       L"JohnSmith",
                       {L"DESK-7", L"desk-7.corp.example"}};
}

TEST(ErrorReport, NamesNoUserAndNoMachine) {
  const struct {
    const wchar_t* text;
    const wchar_t* sent;
  } cases[] = {
      {L"Cannot create C:\\Users\\JohnSmith\\Desktop\\list.txt", L"Cannot create %USERPROFILE%\\Desktop\\list.txt"},
      {L"C:\\USERS\\JOHNSMITH", L"%USERPROFILE%"},
      {L"C:\\Users\\JOHNSM~1\\AppData\\x.exe", L"%USERPROFILE%\\AppData\\x.exe"},
      {L"C:/Users/JohnSmith/x and C:\\Users/johnsmith\\y", L"%USERPROFILE%/x and %USERPROFILE%\\y"},
      {L"(C:\\Users\\JohnSmith), C:\\Users\\JohnSmith: C:\\Users\\JohnSmith. C:\\Users\\JohnSmith,x",
       L"(%USERPROFILE%), %USERPROFILE%: %USERPROFILE%. %USERPROFILE%,x"},
      {L"C:\\Users\\Bob\\tool.exe C:\\Users\\Bobby\\t.exe", L"C:\\Users\\%OTHERUSER%\\tool.exe C:\\Users\\%OTHERUSER%\\t.exe"},
      {L"\"C:\\Users\\Ann Lee\\a.exe\" C:\\Users\\ANNLEE~1\\b.exe", L"\"C:\\Users\\%OTHERUSER%\\a.exe\" C:\\Users\\%OTHERUSER%\\b.exe"},
      {L"C:\\Users\\Public\\x C:\\Users\\Default\\y", L"C:\\Users\\Public\\x C:\\Users\\Default\\y"},
      {L"\\\\fileserver\\home$\\JohnSmith\\Documents", L"\\\\%HOST%\\home$\\%USERNAME%\\Documents"},
      {L"\\\\?\\UNC\\nas.corp.example\\share\\x \\\\?\\C:\\x \\\\.\\pipe\\p",
       L"\\\\?\\UNC\\%HOST%\\share\\x \\\\?\\C:\\x \\\\.\\pipe\\p"},
      {L"johnsmith on DESK-7 (desk-7.corp.example)", L"%USERNAME% on %COMPUTERNAME% (%COMPUTERNAME%)"},
      {L"D:\\Data\\johnsmith-notes.txt", L"D:\\Data\\%USERNAME%-notes.txt"},
      {L"Access is denied. (5)", L"Access is denied. (5)"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutPersonalNames(c.text, SomeNames()), c.sent) << c.text;
}

// What hides where the names are less plain: SIDs, hosts written with slashes, profile folders
// named otherwise than their user or within another's name, and letters beyond ASCII.
TEST(ErrorReport, NamesNoUserAndNoMachineHoweverWritten) {
  const PersonalNames john = SomeNames();
  // The user "Jürgen", whose profile is named otherwise, on a machine "PC1".
  const PersonalNames juergen{{L"D:\\Profiles\\Juergen Mueller"}, {}, L"D:\\Profiles", L"Jürgen", {L"PC1"}};
  // The user "Bob" on a machine "PC" beside an unlisted "Bob.Smith".
  const PersonalNames bob{{L"C:\\Users\\Bob"}, {}, L"C:\\Users", L"Bob", {L"PC"}};
  const struct {
    const wchar_t* text;
    const PersonalNames& names;
    NameBounds bounds;
    const wchar_t* sent;
  } cases[] = {
      {L"\\Microsoft\\Office\\UserS-1-5-21-1234-5678-9012-1001Core", john, NameBounds::Words,
       L"\\Microsoft\\Office\\User%USERSID%Core"},
      {L"HKEY_USERS\\s-1-5-21-1234-5678-9012-1001_Classes, S-1-5-21-99. S-1-5-18 S-1-5-21 S-1-5-21-x", john,
       NameBounds::Anywhere, L"HKEY_USERS\\%USERSID%_Classes, %USERSID%. S-1-5-18 S-1-5-21 S-1-5-21-x"},
      {L"//fileserver/home/a \"//nas\\b\" file://nas.corp.example/c FILE://nas/d", john, NameBounds::Anywhere,
       L"//%HOST%/home/a \"//%HOST%\\b\" file://%HOST%/c FILE://%HOST%/d"},
      {L"https://www.example.org/a//b file:///C:/x C:/Data//y", john, NameBounds::Anywhere,
       L"https://www.example.org/a//b file:///C:/x C:/Data//y"},
      {L"D:\\Profiles\\Juergen Mueller\\a.exe D:\\Profiles\\Jane Doe\\b.exe D:\\Profiles\\Juergen Mueller is gone.",
       juergen, NameBounds::Words, L"%USERPROFILE%\\a.exe D:\\Profiles\\%OTHERUSER%\\b.exe %USERPROFILE% is gone."},
      {L"C:\\Users\\All Users\\a C:\\Users\\Default User\\b C:\\Users\\Some One\\c", john, NameBounds::Anywhere,
       L"C:\\Users\\All Users\\a C:\\Users\\Default User\\b C:\\Users\\%OTHERUSER%\\c"},
      {L"JÜRGEN, jürgen, Jürgens", juergen, NameBounds::Words, L"%USERNAME%, %USERNAME%, Jürgens"},
      {L"C:\\Users\\Bob.Smith\\a C:\\Users\\Bob Smith\\b C:\\Users\\Bob. C:\\Users\\Bob (C:\\Users\\Bob\\c)", bob,
       NameBounds::Words,
       L"C:\\Users\\%OTHERUSER%\\a C:\\Users\\%OTHERUSER%\\b %USERPROFILE%. %USERPROFILE% (%USERPROFILE%\\c)"},
      {L"PcaSvc on PC", bob, NameBounds::Words, L"PcaSvc on %COMPUTERNAME%"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutPersonalNames(c.text, c.names, c.bounds), c.sent) << c.text;
}

TEST(ErrorReport, CarriesTheFourFieldsAndNothingWhenTheNamesAreUnknown) {
  const ErrorReport report{L"1.0.3.0", L"10.0.19045", L"ko", L"C:\\Users\\JohnSmith\\목록.txt: a&b=c"};
  EXPECT_EQ(ErrorReportBody(report, SomeNames()),
            "version=1.0.3.0&windows=10.0.19045&language=ko&error=%25USERPROFILE%25%5C%EB%AA%A9%EB%A1%9D.txt%3A%20a%26b%3Dc");
  const std::function<void(PersonalNames&)> unknown[] = {[](PersonalNames& n) { n.profiles.clear(); },
                                                         [](PersonalNames& n) { n.userName.clear(); },
                                                         [](PersonalNames& n) { n.computerNames.clear(); }};
  for (const auto& forget : unknown) {
    PersonalNames names = SomeNames();
    forget(names);
    EXPECT_EQ(ErrorReportBody(report, names), std::nullopt) << "no report while a name cannot be hidden";
  }
}

} // namespace
