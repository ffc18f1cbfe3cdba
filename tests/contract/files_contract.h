#pragma once
// One suite of file-system behaviour that the fake and Windows must both show. Each case works
// in a scratch folder of its own, made empty before and removed after.
#include <string>

#include <gtest/gtest.h>

#include "contract/target.h"

#include "platform/files.h"

// A file system with a scratch folder and the means to make a folder in it.
class FilesBed {
 public:
  virtual ~FilesBed() = default;
  virtual platform::FileSystem& Files() = 0;
  // The scratch folder's path, without a trailing backslash.
  virtual std::wstring Scratch() = 0;
  virtual void MakeFolder(const std::wstring& path) = 0;
};

using FilesTarget = ContractTarget<FilesBed>;

class FilesContract : public ::testing::TestWithParam<FilesTarget> {
 protected:
  void SetUp() override {
    bed_ = GetParam().make();
    files_ = &bed_->Files();
    scratch_ = bed_->Scratch();
  }
  // The file's content, or "<missing>".
  std::string Read(const std::wstring& path);

  std::unique_ptr<FilesBed> bed_;
  platform::FileSystem* files_ = nullptr;
  std::wstring scratch_;
};
