// One instance at a time: of two claims at the same moment exactly one is first, and the
// namespace is given up for the session's name only where the system has none.
#include <gtest/gtest.h>

#include <latch>
#include <optional>
#include <thread>

#include "app/instance_guard_win.h"

namespace {

using Claim = InstanceGuard::Claim;

TEST(InstanceGuard, OfTwoClaimsAtTheSameMomentExactlyOneIsFirst) {
  const std::wstring name = L"TarnwickGuardTest" + std::to_wstring(GetCurrentProcessId());
  for (int round = 0; round < 200; ++round) {
    std::optional<InstanceGuard> guards[2];
    std::latch start(2);
    const auto claim = [&](int i) {
      start.arrive_and_wait();
      guards[i].emplace(name);
    };
    std::thread other(claim, 1);
    claim(0);
    other.join();
    ASSERT_NE(guards[0]->Result(), Claim::Failed) << guards[0]->Error();
    ASSERT_NE(guards[1]->Result(), Claim::Failed) << guards[1]->Error();
    ASSERT_NE(guards[0]->Result(), guards[1]->Result()) << "round " << round;
  }
  EXPECT_EQ(InstanceGuard(name).Result(), Claim::First) << "free again once both have ended";
}

// Private namespace functions whose answers a case sets; the handles they give are not the
// system's, so a mutex in such a namespace cannot be created and only its name is looked at.
struct Script {
  DWORD createError = ERROR_SUCCESS; // the first CreatePrivateNamespaceW's failure
  DWORD openError = ERROR_SUCCESS;   // the first OpenPrivateNamespaceW's failure
  int creates = 0, opens = 0, closes = 0, boundaries = 0;
} script;
const HANDLE kSpace = reinterpret_cast<HANDLE>(0x5A5A0);
const HANDLE kBoundary = reinterpret_cast<HANDLE>(0x5A5B0);

HANDLE WINAPI FakeCreateBoundary(LPCWSTR, ULONG) { return ++script.boundaries, kBoundary; }
BOOL WINAPI FakeAddSid(HANDLE*, PSID) { return TRUE; }
VOID WINAPI FakeDeleteBoundary(HANDLE) { --script.boundaries; }
HANDLE WINAPI FakeCreateNamespace(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR) {
  if (script.creates++ == 0 && script.createError != ERROR_SUCCESS) return SetLastError(script.createError), nullptr;
  return kSpace;
}
HANDLE WINAPI FakeOpenNamespace(LPVOID, LPCWSTR) {
  if (script.opens++ == 0 && script.openError != ERROR_SUCCESS) return SetLastError(script.openError), nullptr;
  return kSpace;
}
BOOLEAN WINAPI FakeCloseNamespace(HANDLE, ULONG) { return ++script.closes, TRUE; }

TEST(InstanceGuard, TheSessionsNameOnlyWhereTheSystemHasNoPrivateNamespaces) {
  const PrivateNamespaceApi api{FakeCreateBoundary,  FakeAddSid,        FakeDeleteBoundary,
                                FakeCreateNamespace, FakeOpenNamespace, FakeCloseNamespace};
  PrivateNamespaceApi missing = api;
  missing.createNamespace = nullptr;
  const std::wstring name = L"TarnwickGuardTable" + std::to_wstring(GetCurrentProcessId());
  const std::wstring inNamespace = L"Tarnwick\\" + name;
  const struct {
    const char* what;
    const PrivateNamespaceApi& api;
    DWORD createError, openError;
    const std::wstring* mutexName; // null: no mutex, the claim fails with `error`
    DWORD error;
    int creates, opens;
  } cases[] = {
      {"created", api, 0, 0, &inNamespace, 0, 1, 0},
      {"a running instance's, opened", api, ERROR_ALREADY_EXISTS, 0, &inNamespace, 0, 1, 1},
      {"gone between create and open, created again", api, ERROR_ALREADY_EXISTS, ERROR_FILE_NOT_FOUND, &inNamespace, 0,
       2, 1},
      {"not implemented", api, ERROR_CALL_NOT_IMPLEMENTED, 0, &name, 0, 1, 0},
      {"a function missing", missing, 0, 0, &name, 0, 0, 0},
      {"refused", api, ERROR_ACCESS_DENIED, 0, nullptr, ERROR_ACCESS_DENIED, 1, 0},
      {"a running instance's, not opened", api, ERROR_ALREADY_EXISTS, ERROR_ACCESS_DENIED, nullptr, ERROR_ACCESS_DENIED,
       1, 1},
  };
  for (const auto& c : cases) {
    script = Script{c.createError, c.openError};
    {
      const InstanceGuard guard(name, c.api);
      EXPECT_EQ(script.creates, c.creates) << c.what;
      EXPECT_EQ(script.opens, c.opens) << c.what;
      if (c.mutexName) {
        EXPECT_EQ(guard.MutexName(), *c.mutexName) << c.what;
        if (c.mutexName == &name) {
          EXPECT_EQ(guard.Result(), Claim::First) << c.what;
        }
      } else {
        EXPECT_EQ(guard.Result(), Claim::Failed) << c.what;
        EXPECT_EQ(guard.Error(), c.error) << c.what;
      }
    }
    EXPECT_EQ(script.boundaries, 0) << c.what << ": the boundary is deleted";
    EXPECT_EQ(script.closes, c.mutexName == &inNamespace ? 1 : 0)
        << c.what << ": the namespace is closed with the guard";
  }
}

} // namespace
