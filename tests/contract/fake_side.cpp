// The contract suites against the fakes.
#include <algorithm>

#include "common/resource_files.h"
#include "contract/files_contract.h"
#include "contract/locale_contract.h"
#include "contract/registry_contract.h"
#include "contract/services_contract.h"
#include "contract/system_contract.h"
#include "contract/tasks_contract.h"
#include "fakes/fake_files.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_services.h"
#include "fakes/fake_system.h"
#include "fakes/fake_tasks.h"

namespace {

auto Name = [](const auto& info) { return info.param.name; };

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistryTarget{"Fake",
                                                          [] { return std::make_unique<platform::FakeRegistry>(); }}),
                         Name);

class FakeServicesBed final : public ServicesBed {
 public:
  platform::ServiceManager& Manager() override { return manager_; }
  void Add(const std::wstring& name, const std::wstring& display, const std::wstring& path) override {
    Remove(name);
    manager_.Services.push_back({name, display, path});
  }
  void Remove(const std::wstring& name) override {
    std::erase_if(manager_.Services, [&](const auto& s) { return s.Name == name; });
  }

 private:
  platform::FakeServiceManager manager_;
};
INSTANTIATE_TEST_SUITE_P(Fake, ServicesContract,
                         ::testing::Values(ServicesTarget{"Fake", [] { return std::make_unique<FakeServicesBed>(); }}),
                         Name);

class FakeFilesBed final : public FilesBed {
 public:
  FakeFilesBed() { files_.AddFolder(L"C:\\Scratch"); }
  platform::FileSystem& Files() override { return files_; }
  std::wstring Scratch() override { return L"C:\\Scratch"; }
  void MakeFolder(const std::wstring& path) override { files_.AddFolder(path); }

 private:
  platform::FakeFileSystem files_;
};
INSTANTIATE_TEST_SUITE_P(Fake, FilesContract,
                         ::testing::Values(FilesTarget{"Fake", [] { return std::make_unique<FakeFilesBed>(); }}), Name);

class FakeTasksBed final : public TasksBed {
 public:
  platform::TaskScheduler& Scheduler() override { return scheduler_; }
  void AddRootTask(const std::wstring& name, bool enabled, bool hidden) override {
    scheduler_.Tasks.push_back({L"\\" + name, enabled, hidden});
  }
  void FailAtItem(std::size_t item) override { scheduler_.FailAtItem = item; }
  void FailConnect() override { scheduler_.FailConnect = true; }

 private:
  platform::FakeTaskScheduler scheduler_;
};
INSTANTIATE_TEST_SUITE_P(Fake, TasksContract,
                         ::testing::Values(TasksTarget{"Fake", [] { return std::make_unique<FakeTasksBed>(); }}), Name);

INSTANTIATE_TEST_SUITE_P(Fake, SystemContract,
                         ::testing::Values(SystemTarget{"Fake",
                                                        [] { return std::make_unique<platform::FakeSystem>(); }}),
                         Name);

LocaleTarget FakeLocaleIn(std::string name, std::wstring language) {
  return LocaleTarget{std::move(name),
                      [language] {
                        auto locale = std::make_unique<platform::FakeLocale>();
                        locale->Language = language;
                        return locale;
                      },
                      [] {
                        auto resources = std::make_unique<platform::FakeResources>();
                        AddProgramResources(*resources);
                        return resources;
                      },
                      language};
}
INSTANTIATE_TEST_SUITE_P(Fake, LocaleContract,
                         ::testing::Values(FakeLocaleIn("English", L"en"), FakeLocaleIn("Korean", L"ko"),
                                           FakeLocaleIn("Turkish", L"tr")),
                         Name);

} // namespace
