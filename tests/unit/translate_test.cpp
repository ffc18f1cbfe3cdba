#include <gtest/gtest.h>

#include "common/resource_files.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_resources.h"
#include "translate/translate.h"

namespace {

using namespace platform;

class Translating : public ::testing::Test {
 protected:
  Translating() { AddProgramResources(resources); }
  Translation Make(std::wstring language) {
    locale.Language = std::move(language);
    return Translation(resources, locale);
  }
  FakeLocale locale;
  FakeResources resources;
};

TEST(TranslationTable, HasMixedLineEnds) {
  const std::string bytes = ReadResourceFile("translate.txt");
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\n", bytes.find("ar=")), bytes.find("\r\n", bytes.find("ar="))) << "bare LF ends some lines";
}

TEST_F(Translating, FollowsTheLookupRules) {
  Translation t = Make(L"fr");
  EXPECT_EQ(t.Translate(L"", L"ja"), L"");
  EXPECT_EQ(t.Translate(L"all programs", L"ko"), L"전체목록") << "ASCII letters fold";
  EXPECT_EQ(t.Translate(L"ВСЕ ПРОГРАММЫ", L"ko"), L"ВСЕ ПРОГРАММЫ") << "Cyrillic does not";
  EXPECT_EQ(t.Translate(L"Loc"), L"Loc");
  EXPECT_EQ(t.Translate(L"Home"), L"Accueil");
  EXPECT_EQ(t.Translate(L"목록 저장", L"en"), L"목록 저장") << "no row";
  EXPECT_EQ(t.Translate(L"one\\ntwo"), L"one\rtwo");
  EXPECT_EQ(t.Translate(t.Translate(L"사용함")), L"Activer") << "translating twice changes nothing";
  EXPECT_EQ(Make(L"ko").Translate(L"Loc"), L"출처");
  EXPECT_EQ(Make(L"de").Translate(L"사용함"), L"Enable") << "a language without cells gets English";

  const Translation own({L"ko=줄\\n바꿈", L"ja=改行", L"", L"ko=둘", L"en=Two"}, L"ko");
  EXPECT_EQ(own.Translate(L"改行", L"ko"), L"줄\r바꿈");
  EXPECT_EQ(own.Translate(L"改行", L"fr"), L"改行") << "neither the language nor English";
  EXPECT_EQ(own.Translate(L"Two", L"ko"), L"둘");
  const Translation bare({L"ko=하나", L"en", L"fr=Un"}, L"en");
  EXPECT_EQ(bare.Translate(L"하나"), L"하나") << "a line without \"=\" is no English cell";
  const Translation empty({}, L"en");
  EXPECT_EQ(empty.Translate(L"a\\nb"), L"a\rb");
}

TEST_F(Translating, TheLanguageComesFromTheLocale) {
  EXPECT_EQ(Make(L"ja").CurrentLanguage, L"ja");
  EXPECT_EQ(Make(L"fil").CurrentLanguage, L"fi") << "a three-letter name is cut to two";
  locale.Fail = true;
  EXPECT_EQ(Translation(resources, locale).CurrentLanguage, L"en");
  resources.Items.clear();
  locale.Fail = false;
  EXPECT_TRUE(Make(L"ko").TranslateTable.empty()) << "no table: every text comes back as it is";
}

struct FakeMenuItem : MenuItem {
  std::wstring caption;
  std::vector<MenuItem*> items;
  explicit FakeMenuItem(std::wstring c) : caption(std::move(c)) {}
  std::wstring Caption() const override { return caption; }
  void SetCaption(const std::wstring& c) override { caption = c; }
  std::vector<MenuItem*> Items() const override { return items; }
};

struct FakeComponent : Component {
  std::wstring caption;
  bool hasCaption = true, form = false;
  MenuItem* menu = nullptr;
  std::vector<Component*> owned;
  explicit FakeComponent(std::wstring c) : caption(std::move(c)) {}
  MenuItem* PopupMenuRoot() const override { return menu; }
  bool HasCaption() const override { return hasCaption; }
  std::wstring Caption() const override { return caption; }
  void SetCaption(const std::wstring& c) override { caption = c; }
  bool IsForm() const override { return form; }
  std::vector<Component*> Components() const override { return owned; }
};

TEST_F(Translating, ComponentsAndMenusAreTranslatedThroughTheirOwners) {
  FakeComponent form(L"처음화면"), button(L"사용함"), menu(L""), blank(L"사용안함");
  form.form = true;
  blank.hasCaption = false;
  FakeMenuItem root(L""), save(L"목록 저장"), all(L"전체목록");
  root.items = {&save, &all};
  menu.hasCaption = false;
  menu.menu = &root;
  form.owned = {&button, &menu, &blank};

  Translation ja = Make(L"ja");
  ja.TranslateComponent(&form);
  EXPECT_EQ(form.caption, L"Home") << "a form's caption is English for everybody but Korean users";
  EXPECT_EQ(button.caption, L"有効化");
  EXPECT_EQ(all.caption, L"全プログラム");
  EXPECT_EQ(save.caption, L"목록 저장");
  EXPECT_EQ(blank.caption, L"사용안함") << "no caption property";
  ja.TranslateComponent(nullptr);

  Translation ko = Make(L"ru");
  ko.TranslateComponent(&form, L"ko");
  EXPECT_EQ(ko.CurrentLanguage, L"ko");
  EXPECT_EQ(form.caption, L"처음화면");
  EXPECT_EQ(button.caption, L"사용함");
}

} // namespace
