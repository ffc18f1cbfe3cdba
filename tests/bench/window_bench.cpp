// The window on the prefix it runs in, timed from inside: from the start of the process's work to
// the first painted list (the icon cache cold), then five reloads with F5 (the cache warm), then
// five readings of the catalogue alone, which is what the console companion's list does; last,
// a start-up reply of 1 MiB of short list lines, merged and reconciled, and an F5 under the
// lists it made: the window answers no input while each runs.
// `window_bench.exe --start` ends after the first painted list.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/program_win.h"
#include "gallery.h"
#include "platform/win32/system_dll.h"

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const auto start = std::chrono::steady_clock::now();
  platform::RestrictDllSearchToSystem32();
  Program program;
  TFrmTarnwick window(program.Services(L"https://www.tarnwick.example", L"https://info.tarnwick.example"),
                      program.translation);
  window.Show();
  TFrmAutorun& frame = *window.FrmAutorun;
  while (frame.Model().Rows().empty()) Pump(1); // the start-up reply loads the list
  UpdateWindow(frame.ListAutorun.Handle());
  std::printf("start to the first painted list: %.0f ms, %zu rows\n", Since(start), frame.Model().Rows().size());
  if (__argc > 1) return 0;
  for (int i = 0; i < 5; ++i) {
    const auto reload = std::chrono::steady_clock::now();
    frame.ListAutorunKeyDown(VK_F5);
    UpdateWindow(frame.ListAutorun.Handle());
    std::printf("F5, icon cache warm: %.0f ms\n", Since(reload));
  }
  for (int i = 0; i < 5; ++i) {
    const auto read = std::chrono::steady_clock::now();
    AutorunList list;
    program.catalogue.GetAutorunList(list);
    std::printf("catalogue alone: %.0f ms, %zu entries\n", Since(read), list.size());
  }
  // 1 MiB of lines of 2 to 9 characters, a third of it for each list.
  std::string reply = "{";
  const char* members[] = {"name_white", "file_white", "name_black"};
  for (unsigned m = 0; m < 3; ++m) {
    reply += std::string(m ? "," : "") + "\"" + members[m] + "\":[";
    for (unsigned i = 0; reply.size() < (1u << 20) / 3 * (m + 1) - 16; ++i) {
      reply += (i ? ",\"x" : "\"x") + std::to_string(i * 2654435761u % 100000000u) + "\"";
    }
    reply += "]";
  }
  reply += "}";
  const auto merge = std::chrono::steady_clock::now();
  window.ReplyHandler(false, std::wstring(reply.begin(), reply.end()));
  UpdateWindow(frame.ListAutorun.Handle());
  std::printf("a reply of %zu bytes merged and the list reconciled: %.0f ms; lists of %d, %d, %d lines\n", reply.size(),
              Since(merge), window.GetNameWhite().Count(), window.GetFileWhite().Count(), window.GetNameBlack().Count());
  const auto reload = std::chrono::steady_clock::now();
  frame.ListAutorunKeyDown(VK_F5);
  UpdateWindow(frame.ListAutorun.Handle());
  std::printf("F5 under those lists: %.0f ms, %zu rows\n", Since(reload), frame.Model().Rows().size());
  return 0;
}
