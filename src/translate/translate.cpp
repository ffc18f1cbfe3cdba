#include "translate/translate.h"

#include "support/text.h"
#include "support/utf8.h"

namespace {

std::wstring ReplaceLineBreaks(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      result.push_back(L'\r');
      ++i;
    } else {
      result.push_back(text[i]);
    }
  }
  return result;
}

std::vector<std::wstring> LoadTable(platform::Resources& resources) {
  std::string bytes;
  if (!resources.ReadRcData(L"translate", bytes)) return {};
  return SplitLines(WideFromUtf8Text(bytes));
}

// A line without "=" has neither a name nor a value.
std::wstring_view NameOf(std::wstring_view line) {
  const std::size_t equals = line.find(L'=');
  return equals == std::wstring_view::npos ? std::wstring_view() : line.substr(0, equals);
}

std::wstring_view ValueOf(std::wstring_view line) {
  const std::size_t equals = line.find(L'=');
  return equals == std::wstring_view::npos ? std::wstring_view() : line.substr(equals + 1);
}

} // namespace

Translation::Translation(platform::Resources& resources, platform::Locale& locale)
    : TranslateTable(LoadTable(resources)), CurrentLanguage(GetUserLanguage(locale).substr(0, 2)) {}

std::wstring Translation::Translate(std::wstring_view text, std::wstring_view lang) const {
  std::wstring result = ReplaceLineBreaks(text);
  if (text.empty()) return result;
  if (lang.empty()) lang = CurrentLanguage;

  std::size_t row = 0;
  while (row < TranslateTable.size() &&
         (ValueOf(TranslateTable[row]).empty() || !EqualsAsciiNoCase(ValueOf(TranslateTable[row]), text))) {
    ++row;
  }
  if (row == TranslateTable.size()) return result;
  while (row > 0 && !TranslateTable[row - 1].empty()) --row; // the first line of the block

  for (const std::wstring_view code : {lang, std::wstring_view(L"en")}) {
    for (std::size_t line = row; line < TranslateTable.size() && !TranslateTable[line].empty(); ++line) {
      if (NameOf(TranslateTable[line]) == code) return ReplaceLineBreaks(ValueOf(TranslateTable[line]));
    }
  }
  return result;
}

void Translation::TranslateMenuItem(MenuItem* item) const {
  if (!item) return;
  item->SetCaption(Translate(item->Caption()));
  for (MenuItem* child : item->Items()) TranslateMenuItem(child);
}

void Translation::TranslateComponent(Component* component, std::wstring_view lang) {
  if (!lang.empty()) CurrentLanguage = lang;
  if (!component) return;
  TranslateMenuItem(component->PopupMenuRoot());
  if (component->HasCaption()) {
    // A form's own caption is Korean for Korean users and English for everybody else.
    const bool englishForm = component->IsForm() && CurrentLanguage != L"ko";
    component->SetCaption(Translate(component->Caption(), englishForm ? L"en" : L""));
  }
  for (Component* owned : component->Components()) TranslateComponent(owned, lang);
}

std::wstring GetUserLanguage(platform::Locale& locale) {
  const std::uint32_t lcid = locale.UserLocale();
  const int needed = locale.ReadLocaleInfo(lcid, platform::kLocaleSIso639LangName, {});
  if (needed < 1) return L"en";
  std::vector<wchar_t> buffer(needed);
  if (locale.ReadLocaleInfo(lcid, platform::kLocaleSIso639LangName, buffer) < 1) return L"en";
  const std::wstring_view text(buffer.data(), buffer.size());
  return std::wstring(text.substr(0, text.find(L'\0')));
}
