#include "autorun/autorun_info.h"

#include "support/text.h"

TAutorunSource SourceOfTag(std::wstring_view from) {
  if (EqualsAsciiNoCase(from, kTagFile)) return TAutorunSource::File;
  if (EqualsAsciiNoCase(from, kTagTask)) return TAutorunSource::Task;
  if (EqualsAsciiNoCase(from, kTagService)) return TAutorunSource::Service;
  return TAutorunSource::Registry;
}
