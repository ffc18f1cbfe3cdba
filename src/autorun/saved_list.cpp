#include "autorun/saved_list.h"

#include "support/utf8.h"

std::string FormatSavedList(const AutorunList& list) {
  std::string text = "\xEF\xBB\xBF";
  for (const auto& entry : list) {
    text += Utf8FromWide(entry->From + L"|" + entry->Caption + L"|" + entry->Target);
    text += "\r\n";
  }
  return text;
}
