#pragma once
// The icons of the list's rows: each icon location is read once and kept as an image index.
#include <map>
#include <string>
#include <string_view>

#include "platform/file_info.h"
#include "platform/files.h"
#include "platform/image_list.h"

// Location text ("C:\App\app.exe,3") -> image index, compared exactly.
using IconCache = std::map<std::wstring, int>;

// The image index of the icon at `iconLocation` (a path, optionally ",number"), extracted and
// appended to `images` the first time the location is seen. 0 for a missing file or no icon;
// `defaultIndex` for an empty location or a failure.
int GetFileIconIndex(platform::FileSystem& files, platform::FileInfo& info, IconCache& iconCache,
                     platform::ImageList& images, std::wstring_view iconLocation, int defaultIndex);
