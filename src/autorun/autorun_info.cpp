#include "autorun/autorun_info.h"

#include "support/text.h"

AutorunSource SourceOfTag(std::wstring_view from) {
  if (EqualsAsciiNoCase(from, kTagFile)) return AutorunSource::File;
  if (EqualsAsciiNoCase(from, kTagTask)) return AutorunSource::Task;
  if (EqualsAsciiNoCase(from, kTagService)) return AutorunSource::Service;
  return AutorunSource::Registry;
}
