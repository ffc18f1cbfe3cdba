#include "contract/services_contract.h"

#include <algorithm>
#include <vector>

namespace {

using namespace win;
using platform::ScHandle;

const std::wstring kName = L"TarnwickContractSvc";
const std::wstring kDisplay = L"Tarnwick contract service";
const std::wstring kPath = L"\"C:\\Program Files\\Tarnwick Contract\\svc.exe\" -k contract";
constexpr std::uint32_t kReadAll = kScManagerConnect | kScManagerEnumerateService;

// A handle of the seam, closed through it.
class Handle {
 public:
  Handle(platform::ServiceManager& manager, ScHandle handle) : manager_(manager), handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_) manager_.Close(handle_);
  }
  ScHandle get() const { return handle_; }

 private:
  platform::ServiceManager& manager_;
  ScHandle handle_;
};

} // namespace

void ServicesContract::SetUp() {
  bed_ = GetParam().make();
  manager_ = &bed_->Manager();
  bed_->Add(kName, kDisplay, kPath);
}

void ServicesContract::TearDown() { bed_->Remove(kName); }

TEST_P(ServicesContract, EnumerationTellsTheSizeFirstAndThenFillsTheBuffer) {
  const Handle scm(*manager_, manager_->OpenManager(kReadAll));
  ASSERT_NE(scm.get(), 0u);
  std::vector<platform::EnumServiceStatus> services{{L"stale", L"stale"}};
  std::uint32_t needed = 0, returned = 99, resume = 0;
  EXPECT_FALSE(
      manager_->ListServices(scm.get(), kServiceWin32, kServiceStateAll, {}, needed, returned, resume, services));
  EXPECT_EQ(manager_->LastError(), kErrorMoreData);
  EXPECT_EQ(returned, 0u);
  ASSERT_GT(needed, 36u) << "at least one record and its texts";

  std::vector<std::byte> small(needed - 1);
  std::uint32_t smallNeeded = 0;
  EXPECT_FALSE(manager_->ListServices(scm.get(), kServiceWin32, kServiceStateAll, small, smallNeeded, returned, resume,
                                      services))
      << "one byte short";
  EXPECT_EQ(manager_->LastError(), kErrorMoreData);

  std::vector<std::byte> buffer(needed);
  resume = 0;
  ASSERT_TRUE(
      manager_->ListServices(scm.get(), kServiceWin32, kServiceStateAll, buffer, needed, returned, resume, services));
  EXPECT_EQ(services.size(), returned);
  const auto scratch = std::find_if(services.begin(), services.end(),
                                    [](const platform::EnumServiceStatus& s) { return s.ServiceName == kName; });
  ASSERT_NE(scratch, services.end());
  EXPECT_EQ(scratch->DisplayName, kDisplay);
}

TEST_P(ServicesContract, EnumerationNeedsTheRightToEnumerate) {
  const Handle scm(*manager_, manager_->OpenManager(kScManagerConnect));
  ASSERT_NE(scm.get(), 0u);
  std::vector<platform::EnumServiceStatus> services;
  std::vector<std::byte> buffer(65536);
  std::uint32_t needed = 0, returned = 0, resume = 0;
  const bool listed =
      manager_->ListServices(scm.get(), kServiceWin32, kServiceStateAll, buffer, needed, returned, resume, services);
  EXPECT_FALSE(listed);
  EXPECT_EQ(manager_->LastError(), kErrorAccessDenied);
}

TEST_P(ServicesContract, ServicesOpenByNameInAnyCase) {
  const Handle scm(*manager_, manager_->OpenManager(kScManagerConnect));
  ASSERT_NE(scm.get(), 0u);
  EXPECT_EQ(manager_->OpenByName(scm.get(), L"TarnwickNoSuchService", kServiceQueryConfig), 0u);
  EXPECT_EQ(manager_->LastError(), kErrorServiceDoesNotExist);
  const Handle upper(*manager_, manager_->OpenByName(scm.get(), L"TARNWICKCONTRACTSVC", kServiceQueryConfig));
  EXPECT_NE(upper.get(), 0u);
}

TEST_P(ServicesContract, ConfigurationTellsTheSizeFirstAndThenFillsTheBuffer) {
  const Handle scm(*manager_, manager_->OpenManager(kScManagerConnect));
  const Handle service(*manager_, manager_->OpenByName(scm.get(), kName, kServiceQueryConfig));
  ASSERT_NE(service.get(), 0u);
  platform::ServiceConfig config{99, L"stale"};
  std::uint32_t needed = 0;
  EXPECT_FALSE(manager_->ReadConfig(service.get(), {}, needed, config));
  EXPECT_EQ(manager_->LastError(), kErrorInsufficientBuffer);
  ASSERT_GE(needed, 36u + (kPath.size() + 1) * 2) << "the record and the path at least";
  std::vector<std::byte> buffer(needed - 1);
  EXPECT_FALSE(manager_->ReadConfig(service.get(), buffer, needed, config)) << "one byte short";
  EXPECT_EQ(manager_->LastError(), kErrorInsufficientBuffer);
  EXPECT_EQ(config.BinaryPathName, L"stale") << "a failed call leaves the configuration alone";
  buffer.resize(needed);
  ASSERT_TRUE(manager_->ReadConfig(service.get(), buffer, needed, config));
  EXPECT_EQ(config.StartType, kServiceDemandStart);
  EXPECT_EQ(config.BinaryPathName, kPath);
}

TEST_P(ServicesContract, EachCallNeedsItsRightOnTheHandle) {
  const Handle scm(*manager_, manager_->OpenManager(kScManagerConnect));
  const Handle changeOnly(*manager_, manager_->OpenByName(scm.get(), kName, kServiceChangeConfig));
  ASSERT_NE(changeOnly.get(), 0u);
  std::uint32_t needed = 0;
  platform::ServiceConfig config;
  std::vector<std::byte> buffer(8192);
  EXPECT_FALSE(manager_->ReadConfig(changeOnly.get(), buffer, needed, config));
  EXPECT_EQ(manager_->LastError(), kErrorAccessDenied);

  const Handle queryOnly(*manager_, manager_->OpenByName(scm.get(), kName, kServiceQueryConfig));
  EXPECT_FALSE(manager_->ChangeConfig(queryOnly.get(), kServiceNoChange, kServiceAutoStart, kServiceNoChange));
  EXPECT_EQ(manager_->LastError(), kErrorAccessDenied);
}

TEST_P(ServicesContract, AChangedStartTypeIsWhatTheNextReadingGives) {
  const Handle scm(*manager_, manager_->OpenManager(kScManagerConnect));
  const Handle service(*manager_, manager_->OpenByName(scm.get(), kName, kServiceQueryConfig | kServiceChangeConfig));
  ASSERT_NE(service.get(), 0u);
  for (const std::uint32_t start : {kServiceAutoStart, kServiceDisabled}) {
    ASSERT_TRUE(manager_->ChangeConfig(service.get(), kServiceNoChange, start, kServiceNoChange));
    std::uint32_t needed = 0;
    platform::ServiceConfig config;
    manager_->ReadConfig(service.get(), {}, needed, config);
    std::vector<std::byte> buffer(needed);
    ASSERT_TRUE(manager_->ReadConfig(service.get(), buffer, needed, config));
    EXPECT_EQ(config.StartType, start);
    EXPECT_EQ(config.BinaryPathName, kPath) << "nothing else changes";
  }
}
