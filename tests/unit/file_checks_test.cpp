#include <gtest/gtest.h>

#include <optional>

#include "autorun/file_checks.h"
#include "common/stalling_files.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(FileChecks, AskEachFullPathOnceALoad) {
  StallingFiles files;
  files.AddFile(L"C:\\App\\app.exe");
  files.AddFile(L"\\\\server\\share\\tool.exe");
  const struct {
    const wchar_t* path;
    std::optional<bool> exists;
    int asked; // checks of the file system per load
  } cases[] = {
      {L"C:\\App\\app.exe", true, 1},
      {L"c:/App/missing.exe", false, 1},
      {L"\\\\server\\share\\tool.exe", true, 1},
      {L"//server/share/gone.exe", false, 1},
      {L"notepad.exe", std::nullopt, 0}, // looked for along the search path
      {L"C:app.exe", std::nullopt, 0},   // relative to the drive's current folder
      {L"\\App\\app.exe", std::nullopt, 0},
      {L"", std::nullopt, 0},
  };
  FileChecks checks(files, 5s);
  for (int load = 1; load <= 2; ++load) {
    for (int ask = 0; ask < 2; ++ask) {
      for (const auto& c : cases) EXPECT_EQ(checks.Exists(c.path), c.exists) << c.path;
    }
    for (const auto& c : cases) EXPECT_EQ(files.Asked(c.path), c.asked * load) << c.path << ", load " << load;
    checks.Clear();
  }
}

TEST(FileChecks, AStalledShareIsUnknownAfterTheLimitAndTheOtherFilesStillAnswer) {
  StallingFiles files;
  files.AddFile(L"C:\\App\\app.exe");
  files.AddFile(L"\\\\stalled\\share\\a.exe");
  files.Stall(L"\\\\stalled\\");
  constexpr auto kLimit = 200ms;
  FileChecks checks(files, kLimit);
  const auto timed = [&](const wchar_t* path, std::optional<bool>& answer) {
    const auto start = Clock::now();
    answer = checks.Exists(path);
    return Clock::now() - start;
  };
  std::optional<bool> answer = true;
  EXPECT_GE(timed(L"\\\\stalled\\share\\a.exe", answer), kLimit);
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_LT(timed(L"\\\\stalled\\share\\a.exe", answer), kLimit) << "not waited for again";
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_LT(timed(L"C:\\App\\app.exe", answer), kLimit) << "answered beside the stalled check";
  EXPECT_EQ(answer, true);
  EXPECT_EQ(checks.Exists(L"\\\\stalled\\share\\b.exe"), std::nullopt);
  EXPECT_EQ(checks.Exists(L"C:\\App\\other.exe"), false);

  files.Release();
  EXPECT_EQ(checks.Exists(L"\\\\stalled\\share\\a.exe"), std::nullopt) << "unknown until the next load";
  EXPECT_EQ(files.Asked(L"\\\\stalled\\share\\a.exe"), 1);
  checks.Clear();
  EXPECT_EQ(checks.Exists(L"\\\\stalled\\share\\a.exe"), true) << "asked again at the next load";
  EXPECT_EQ(checks.Exists(L"\\\\stalled\\share\\b.exe"), false);
}

TEST(FileChecks, AStalledCheckOutlivesItsChecks) {
  StallingFiles files;
  files.Stall(L"\\\\stalled\\");
  {
    FileChecks checks(files, 50ms);
    EXPECT_EQ(checks.Exists(L"\\\\stalled\\share\\a.exe"), std::nullopt);
  }
  files.Release(); // the thread's late answer goes nowhere
  EXPECT_EQ(files.Asked(L"\\\\stalled\\share\\a.exe"), 1);
}

} // namespace
