#pragma once
// The strings of a program file's version resource.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_info.h"
#include "platform/files.h"

// Adds name -> text for each of `names` that the first language block of the file's version
// resource holds. Returns the count of `values` afterwards, 0 when the file has no usable
// version resource. A name `values` already holds is a caller's error: std::invalid_argument.
int GetFileVersionStrings(platform::FileSystem& files, platform::FileInfo& info, std::wstring_view fileName,
                          const std::vector<std::wstring>& names, std::map<std::wstring, std::wstring>& values);
