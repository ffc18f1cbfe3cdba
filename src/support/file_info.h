#pragma once
// Version strings and icons of program files.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_info.h"
#include "platform/files.h"

// Location text ("C:\App\app.exe,3") -> image index, compared exactly.
using TIconCache = std::map<std::wstring, int>;

// Adds name -> text for each of `names` that the first language block of the file's version
// resource holds. Returns the count of `values` afterwards, 0 when the file has no usable
// version resource. A name `values` already holds is a caller's error: std::invalid_argument.
int GetFileVersionStrings(platform::FileSystem& files, platform::FileInfo& info, std::wstring_view fileName,
                          const std::vector<std::wstring>& names, std::map<std::wstring, std::wstring>& values);

// The image index of the icon at `iconLocation` (a path, optionally ",number"), extracted and
// appended to `images` the first time the location is seen. 0 for a missing file or no icon;
// `defaultIndex` for an empty location or a failure.
int GetFileIconIndex(platform::FileSystem& files, platform::FileInfo& info, TIconCache& iconCache,
                     platform::ImageList& images, std::wstring_view iconLocation, int defaultIndex);
