#include <gtest/gtest.h>

#include "theme/button_styles.h"

void PrintTo(const Color& c, std::ostream* out) {
  *out << '(' << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ')';
}

namespace {

// The colours of the family, as the style table gives them.
constexpr Color kAccentLight{80, 144, 224};
constexpr Color kGrey215{215, 215, 215};
constexpr Color kGrey179{179, 179, 179};
constexpr Color kGrey188{188, 188, 188};
constexpr Color kGrey128{128, 128, 128};

TEST(ButtonColors, TheRulesGiveTheTablesColours) {
  EXPECT_EQ(ColorRef(kAccent), 0x00DD843Du);
  EXPECT_EQ(ColorRef(kSilver), 0x00C0C0C0u);
  EXPECT_EQ(Lighten(kAccent, 10), kAccentLight);
  EXPECT_EQ(MakeGrey(Lighten(kAccent, 70)), kGrey215);
  EXPECT_EQ(MakeGrey(Lighten(kBlack, 70)), kGrey179) << "178.5 rounds up";
  EXPECT_EQ(MakeGrey(Lighten(kAccent, 50)), kGrey188);
  EXPECT_EQ(MakeGrey(Lighten(kBlack, 50)), kGrey128) << "127.5 rounds up";
  EXPECT_EQ(Lighten(kWhite, 40), kWhite);
  EXPECT_EQ(Lighten(kAccent, 0), kAccent);
  EXPECT_EQ(Lighten(kAccent, 100), kWhite);
  // Grey rounds to the nearest, and an exact half to the even neighbour.
  EXPECT_EQ(MakeGrey({0, 0, 0}), (Color{0, 0, 0}));
  EXPECT_EQ(MakeGrey({255, 255, 255}), kWhite);
  EXPECT_EQ(MakeGrey({5, 0, 0}).r, 1) << "1.495 -> 1";
  EXPECT_EQ(MakeGrey({0, 0, 25}).r, 3) << "2.85 -> 3";
  EXPECT_EQ(MakeGrey({250, 0, 0}).r, 75) << "74.75 -> 75";
  EXPECT_EQ(MakeGrey({0, 0, 125}).r, 14) << "14.25 -> 14";
  EXPECT_EQ(MakeGrey({0, 125, 125}).r, 88) << "87.625 -> 88";
  EXPECT_EQ(MakeGrey({50, 0, 0}).r, 15) << "14.95 -> 15";
  EXPECT_EQ(MakeGrey({0, 0, 250}).r, 28) << "28.5, a half, -> 28, the even one";
  EXPECT_EQ(MakeGrey({0, 4, 168}).r, 22) << "21.5, a half, -> 22, the even one";
  EXPECT_EQ(MakeGrey({0, 250, 125}).r, 161) << "146.75 + 14.25 = 161.0";
}

// One state as the tables spell it: draw style, fill, border style, border, font.
struct Look {
  TButtonDrawStyle fill;
  Color button;
  TBorderDrawStyle border;
  Color borderColor;
  Color font;
};

void ExpectLook(const TStyledButtonAttributes& a, const Look& look, const char* what) {
  EXPECT_EQ(a.DrawType, btRoundRect) << what;
  EXPECT_EQ(a.ButtonDrawStyle, look.fill) << what;
  EXPECT_EQ(a.ButtonColor, look.button) << what;
  EXPECT_EQ(a.BorderDrawStyle, look.border) << what;
  EXPECT_EQ(a.BorderColor, look.borderColor) << what;
  EXPECT_EQ(a.BorderWidth, 0) << what;
  EXPECT_EQ(a.FontColor, look.font) << what;
  EXPECT_EQ(a.FontStyle, 0) << what;
}

TEST(VeltranoButtonStyles, FillTheFiveStatesOfEachAppearanceByTheTables) {
  const struct {
    const wchar_t* appearance;
    Look normal, pressed, selected, hot, disabled;
  } tables[] = {
      {L"Normal",
       {btnSolid, kAccent, brdSolid, kAccent, kWhite},
       {btnSolid, kAccent, brdSolid, kAccent, kWhite},
       {btnSolid, kAccent, brdSolid, kAccent, kWhite},
       {btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
       {btnSolid, kWhite, brdSolid, kSilver, kSilver}},
      {L"Header",
       {btnClear, kWhite, brdSolid, kBlack, kBlack},
       {btnSolid, kAccent, brdClear, kAccent, kWhite},
       {btnSolid, kAccentLight, brdClear, kAccent, kWhite},
       {btnSolid, kAccent, brdClear, kAccent, kWhite},
       {btnClear, kWhite, brdSolid, kGrey188, kGrey128}},
      {L"Outline",
       {btnClear, kAccent, brdSolid, kAccent, kBlack},
       {btnSolid, kAccent, brdSolid, kAccent, kWhite},
       {btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
       {btnSolid, kAccentLight, brdSolid, kAccent, kWhite},
       {btnClear, kAccent, brdSolid, kGrey215, kGrey179}},
  };
  const TVeltranoButtonStyles family;
  for (const auto& t : tables) {
    ButtonStates states;
    family.FillStates(L"ignored", L"ignored", t.appearance, states);
    ExpectLook(states.Normal, t.normal, "normal");
    ExpectLook(states.Pressed, t.pressed, "pressed");
    ExpectLook(states.Selected, t.selected, "selected");
    ExpectLook(states.Hot, t.hot, "hot");
    ExpectLook(states.Disabled, t.disabled, "disabled");
  }
}

TEST(VeltranoButtonStyles, AppearancesMatchWithoutCaseAndUnknownOnesAreNormal) {
  const TVeltranoButtonStyles family;
  ButtonStates outline, lower, normal, unknown;
  family.FillStates(L"", L"", L"Outline", outline);
  family.FillStates(L"", L"", L"oUTLINE", lower);
  family.FillStates(L"", L"", L"Normal", normal);
  family.FillStates(L"", L"", L"Glass", unknown);
  EXPECT_EQ(lower.Normal, outline.Normal);
  EXPECT_EQ(lower.Hot, outline.Hot);
  EXPECT_EQ(unknown.Normal, normal.Normal);
  EXPECT_EQ(unknown.Disabled, normal.Disabled);
  EXPECT_EQ(family.FamilyName(), L"Veltrano");
  EXPECT_EQ(family.Classes(), TButtonClasses{L"Primary"});
  EXPECT_EQ(family.Appearances(), (TButtonAppearances{L"Normal", L"Header", L"Outline"}));
  for (const int modalResult : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, -1, 1000}) {
    std::wstring buttonClass, appearance;
    family.StyleForModalResult(modalResult, buttonClass, appearance);
    EXPECT_EQ(buttonClass, L"Primary") << modalResult;
    EXPECT_EQ(appearance, L"Normal") << modalResult;
  }
}

// A family that records what it is asked for.
class RecordingFamily final : public IStyledButtonAttributes {
 public:
  explicit RecordingFamily(std::wstring* asked) : asked_(asked) {}
  void FillStates(std::wstring_view family, std::wstring_view buttonClass, std::wstring_view appearance,
                  ButtonStates&) const override {
    *asked_ = std::wstring(family) + L"/" + std::wstring(buttonClass) + L"/" + std::wstring(appearance);
  }
  std::wstring FamilyName() const override { return L"Other"; }
  TButtonClasses Classes() const override { return {L"Info", L"Warning"}; }
  TButtonAppearances Appearances() const override { return {L"Normal", L"Flat"}; }
  void StyleForModalResult(int, std::wstring&, std::wstring&) const override {}

 private:
  std::wstring* asked_;
};

TEST(ButtonFamilies, UnknownNamesFallBackToTheFirstFamilyClassAndNormal) {
  ButtonFamilies families;
  ButtonStates states;
  families.Resolve(L"Veltrano", L"Primary", L"Outline", states);
  EXPECT_EQ(states.Normal, TStyledButtonAttributes{}) << "no family registered: nothing is filled";

  std::wstring asked;
  families.Register(std::make_unique<TVeltranoButtonStyles>());
  families.Register(std::make_unique<RecordingFamily>(&asked));
  const struct {
    const wchar_t *family, *buttonClass, *appearance, *expected;
  } cases[] = {
      {L"Other", L"Warning", L"Flat", L"Other/Warning/Flat"},
      {L"OTHER", L"warning", L"flat", L"Other/warning/flat"},
      {L"Other", L"Primary", L"Flat", L"Other/Info/Flat"},
      {L"Other", L"Warning", L"Outline", L"Other/Warning/Normal"},
  };
  for (const auto& c : cases) {
    families.Resolve(c.family, c.buttonClass, c.appearance, states);
    EXPECT_EQ(asked, c.expected);
  }
  ButtonStates outline, unknownFamily;
  TVeltranoButtonStyles().FillStates(L"", L"", L"Outline", outline);
  families.Resolve(L"NoSuchFamily", L"NoSuchClass", L"Outline", unknownFamily);
  EXPECT_EQ(unknownFamily.Hot, outline.Hot) << "the first family registered, its first class";
}

} // namespace
