// The list's reconcile at 10,000 and 20,000 entries: its cost should grow in step with the
// catalogue (time ratio close to 2), for a first load and for a reload where every row stays.
#include <benchmark/benchmark.h>

#include "autorun/fake_catalogue.h"
#include "fakes/fake_file_info.h"
#include "fakes/fake_files.h"
#include "fakes/fake_image_list.h"
#include "fakes/fake_locale.h"
#include "ui/autorun_model.h"

namespace {

using namespace platform;

struct Fixture {
  explicit Fixture(int entries) {
    for (const wchar_t* name : {L"Audiosrv", L"BFE", L"cbdhsvc_", L"Spooler", L"Themes", L"WSearch"})
      nameWhite.Add(name);
    for (int i = 0; i < entries; ++i) {
      const std::wstring n = std::to_wstring(i);
      switch (i % 4) {
        case 0:
          catalogue.Add(L"SERV", L"Service " + n, L"svc" + n);
          break;
        case 1:
          catalogue.Add(L"SCHE", L"Task " + n, L"\\Task " + n);
          break;
        case 2:
          catalogue.Add(L"HKCU", L"Value " + n, L"HKCU\\Software\\Run\\Value " + n, true, L"C:\\app" + n + L".exe");
          break;
        default:
          catalogue.Add(L"FILE", L"Link " + n, L"C:\\Startup\\Link " + n + L".lnk", i % 8 != 3);
          break;
      }
    }
  }
  FakeLocale locale;
  FakeFileSystem files;
  FakeFileInfo info;
  FakeImageList images;
  FakeCatalogue catalogue;
  FilterList fileWhite{locale}, nameWhite{locale};
  const FolderTokens tokens;
  TAutorunModel model{catalogue, files, info, images, tokens, fileWhite, nameWhite};
};

void FirstLoad(benchmark::State& state) {
  Fixture fixture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    fixture.model.Clear();
    fixture.model.LoadAutorun(false);
    benchmark::DoNotOptimize(fixture.model.Rows().data());
  }
  state.SetComplexityN(state.range(0));
}

void Reload(benchmark::State& state) {
  Fixture fixture(static_cast<int>(state.range(0)));
  fixture.model.LoadAutorun(true);
  for (auto _ : state) {
    fixture.model.LoadAutorun(true);
    benchmark::DoNotOptimize(fixture.model.Rows().data());
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(FirstLoad)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(Reload)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
