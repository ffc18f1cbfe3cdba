// The window on the prefix it runs in, timed from inside: from the start of the process's work to
// the first painted list (the icon cache cold), then five reloads with F5 (the cache warm), then
// five readings of the catalogue alone, which is what the console companion's list does; last,
// start-up replies of 1 MiB of short list lines, of ASCII and beyond it, each merged and the list
// built again, and an F5 under the lists it made: the window answers no input while each runs.
// `window_bench.exe --start` ends after the first painted list.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "app/program_win.h"
#include "gallery.h"
#include "support/utf8.h"
#include "windows/system_dll.h"

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
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
  // Through every row while they fill in, a page at a time with the keyboard and with the scroll
  // bar: the longest the window takes to answer one such input.
  const HWND list = frame.ListAutorun.Handle();
  const int last = static_cast<int>(frame.Model().Rows().size()) - 1;
  const auto longest = [&](auto step, auto atEnd) {
    std::vector<double> answers;
    while (!atEnd() && answers.size() < 10000) {
      const auto input = std::chrono::steady_clock::now();
      step();
      UpdateWindow(list);
      answers.push_back(Since(input));
    }
    const auto most = std::max_element(answers.begin(), answers.end());
    return std::tuple{*most, static_cast<int>(most - answers.begin()) + 1, Median(answers), static_cast<int>(answers.size())};
  };
  SetFocus(list);
  const auto [keys, keyAt, keyMedian, keySteps] = longest([&] { SendMessageW(list, WM_KEYDOWN, VK_NEXT, 0); },
                                        [&] { return frame.ListAutorun.FocusedRow() == last; });
  SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  frame.ListAutorunKeyDown(VK_F5); // the rows afresh, their names and icons to be read again from the caches
  const auto [bar, barAt, barMedian, barSteps] = longest([&] { SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0); }, [&] {
    return ListView_GetTopIndex(list) + ListView_GetCountPerPage(list) > last;
  });
  std::printf("Page Down through %d pages while rows fill in: longest answer %.0f ms (page %d), median %.0f ms\n",
              keySteps, keys, keyAt, keyMedian);
  std::printf("the scroll bar through %d pages after F5: longest answer %.0f ms (page %d), median %.0f ms\n", barSteps,
              bar, barAt, barMedian);
  // Taken in turns, so that a slower or faster spell of the machine falls on both alike.
  std::vector<double> reloads, reads;
  for (int i = 0; i < 5; ++i) {
    const auto reload = std::chrono::steady_clock::now();
    frame.ListAutorunKeyDown(VK_F5);
    UpdateWindow(list);
    reloads.push_back(Since(reload));
    const auto read = std::chrono::steady_clock::now();
    AutorunList entries;
    program.catalogue.GetAutorunList(entries);
    reads.push_back(Since(read));
    std::printf("F5, icon cache warm: %.0f ms; the catalogue alone: %.0f ms, %zu entries\n", reloads.back(),
                reads.back(), entries.size());
  }
  std::printf("F5 with the caches warm / the catalogue alone (medians): %.2f\n", Median(reloads) / Median(reads));
  // Start-up replies of 1 MiB of lines of 2 to 9 characters, a third of it for each list: lines
  // of ASCII, and the same lines led by a letter beyond it, which only the locale folds. Each is
  // merged into the built-in lists alone, as at start, and the list built again; then F5 under the
  // lists it made. Taken in turns, three of each.
  const auto makeReply = [](std::string_view lead) {
    std::string reply = "{";
    const char* members[] = {"name_white", "file_white", "name_black"};
    for (unsigned m = 0; m < 3; ++m) {
      reply += std::string(m ? "," : "") + "\"" + members[m] + "\":[";
      for (unsigned i = 0; reply.size() < (1u << 20) / 3 * (m + 1) - 16; ++i) {
        reply +=
            std::string(i ? ",\"" : "\"") + std::string(lead) + std::to_string(i * 2654435761u % 100000000u) + "\"";
      }
      reply += "]";
    }
    return reply + "}";
  };
  const struct {
    const char* name;
    std::string reply;
  } replies[] = {{"ASCII", makeReply("x")}, {"beyond ASCII", makeReply("\xC3\xA4")}}; // "ä"
  std::vector<double> merges[2], underLists[2];
  for (int run = 0; run < 3; ++run) {
    for (int r = 0; r < 2; ++r) {
      window.GetFileWhite().Clear();
      LoadListFromResource(program.win32.resources, window.GetNameWhite(), L"name_white");
      LoadListFromResource(program.win32.resources, window.GetNameBlack(), L"name_black");
      const auto merge = std::chrono::steady_clock::now();
      window.ReplyHandler(false, WideFromUtf8(replies[r].reply));
      UpdateWindow(list);
      merges[r].push_back(Since(merge));
      const auto reload = std::chrono::steady_clock::now();
      frame.ListAutorunKeyDown(VK_F5);
      UpdateWindow(list);
      underLists[r].push_back(Since(reload));
      std::printf(
          "a reply of %zu bytes of %s lines merged and the list built again: %.0f ms; lists of %d, %d, %d "
          "lines; F5 under them: %.0f ms, %zu rows\n",
          replies[r].reply.size(), replies[r].name, merges[r].back(), window.GetNameWhite().Count(),
          window.GetFileWhite().Count(), window.GetNameBlack().Count(), underLists[r].back(),
          frame.Model().Rows().size());
    }
  }
  std::printf("lines beyond ASCII / ASCII lines (medians): merged and built %.2f, F5 %.2f\n",
              Median(merges[1]) / Median(merges[0]), Median(underLists[1]) / Median(underLists[0]));
  return 0;
}
