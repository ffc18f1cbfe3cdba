#include "autorun/autorun_info.h"

#include "support/text.h"

AutorunSource SourceOfTag(std::wstring_view from) {
  if (EqualsAsciiNoCase(from, kTagFile)) return AutorunSource::File;
  if (EqualsAsciiNoCase(from, kTagTask)) return AutorunSource::Task;
  if (EqualsAsciiNoCase(from, kTagService)) return AutorunSource::Service;
  return AutorunSource::Registry;
}

std::optional<bool> ProgramFileExists(platform::FileSystem& files, std::wstring_view path) {
  const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const bool drive = path.size() > 2 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' &&
                     separator(path[2]);
  const bool unc = path.size() > 2 && separator(path[0]) && separator(path[1]);
  if (!drive && !unc) return std::nullopt;
  return files.IsFile(path);
}
