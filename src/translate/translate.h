#pragma once
// The interface is written in Korean; every text shown passes through Translate, which finds
// the text's row in the translation table and gives the cell of the user's language.
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"
#include "platform/resources.h"

// What translation needs of the user-interface layer.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual std::vector<MenuItem*> Items() const = 0;
};

class Component {
 public:
  virtual ~Component() = default;
  // The root item when the component is a popup menu, else null.
  virtual MenuItem* PopupMenuRoot() const = 0;
  virtual bool HasCaption() const = 0;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual bool IsForm() const = 0;
  // The components this one owns, in ownership order.
  virtual std::vector<Component*> Components() const = 0;
};

// The table and the language of one run, made once at start.
class Translation {
 public:
  // The lines of the "translate" resource (none when it is missing), and the user's language.
  Translation(platform::Resources& resources, platform::Locale& locale);
  Translation(std::vector<std::wstring> table, std::wstring currentLanguage)
      : TranslateTable(std::move(table)), CurrentLanguage(std::move(currentLanguage)) {}

  // `text` in the language `lang` (the current one when empty), then English; `text` itself
  // when its row has neither or it has no row. A backslash-n becomes CR.
  std::wstring Translate(std::wstring_view text, std::wstring_view lang = {}) const;
  // The caption of `component` and of all it owns; a non-empty `lang` becomes the current one.
  void TranslateComponent(Component* component, std::wstring_view lang = {});
  void TranslateMenuItem(MenuItem* item) const;

  const std::vector<std::wstring> TranslateTable;
  std::wstring CurrentLanguage;
};

// The user's language name (ISO 639) as the locale reports it; "en" when it cannot tell.
std::wstring GetUserLanguage(platform::Locale& locale);
