#include "theme/button_styles.h"

#include <algorithm>

#include "support/text.h"

namespace {

std::uint8_t LightenChannel(int c, int percent) {
  // c + (255 - c) * p / 100, halves up: exact in integers.
  return static_cast<std::uint8_t>(c + ((255 - c) * percent * 2 + 100) / 200);
}

bool Lists(const std::vector<std::wstring>& names, std::wstring_view name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return EqualsAsciiNoCase(n, name); });
}

} // namespace

Color Lighten(Color c, int percent) {
  return {LightenChannel(c.r, percent), LightenChannel(c.g, percent), LightenChannel(c.b, percent)};
}

Color MakeGrey(Color c) {
  const int sum = 299 * c.r + 587 * c.g + 114 * c.b; // thousandths
  int grey = sum / 1000;
  const int rest = sum % 1000;
  if (rest > 500 || (rest == 500 && grey % 2 == 1)) ++grey;
  const auto channel = static_cast<std::uint8_t>(grey);
  return {channel, channel, channel};
}

void TVeltranoButtonStyles::FillStates(std::wstring_view, std::wstring_view, std::wstring_view appearance,
                                       ButtonStates& states) const {
  const bool header = EqualsAsciiNoCase(appearance, L"Header");
  const bool outline = EqualsAsciiNoCase(appearance, L"Outline");
  const Color accentLight = Lighten(kAccent, 10);

  TStyledButtonAttributes& normal = states.Normal;
  normal = TStyledButtonAttributes{};
  normal.DrawType = btRoundRect;
  normal.ButtonDrawStyle = header || outline ? btnClear : btnSolid;
  normal.ButtonColor = header ? kWhite : kAccent;
  normal.BorderDrawStyle = brdSolid;
  normal.BorderColor = header ? kBlack : kAccent;
  normal.BorderWidth = 0;
  normal.FontColor = header || outline ? kBlack : kWhite;
  normal.FontStyle = 0;
  states.Pressed = states.Selected = states.Hot = states.Disabled = normal;

  if (header) {
    // A plain tab that fills with the accent when down, under the mouse or selected.
    for (TStyledButtonAttributes* filled : {&states.Pressed, &states.Selected, &states.Hot}) {
      filled->ButtonDrawStyle = btnSolid;
      filled->BorderDrawStyle = brdClear;
      filled->ButtonColor = kAccent;
      filled->BorderColor = kAccent;
      filled->FontColor = kWhite;
    }
    states.Selected.ButtonColor = accentLight;
    states.Disabled.BorderColor = MakeGrey(Lighten(kAccent, 50));
    states.Disabled.FontColor = MakeGrey(Lighten(kBlack, 50));
  } else if (outline) {
    // Unfilled, filling with the accent when down and with the light accent otherwise.
    for (TStyledButtonAttributes* filled : {&states.Pressed, &states.Selected, &states.Hot}) {
      filled->ButtonDrawStyle = btnSolid;
      filled->FontColor = kWhite;
    }
    states.Selected.ButtonColor = accentLight;
    states.Hot.ButtonColor = accentLight;
    states.Disabled.BorderColor = MakeGrey(Lighten(kAccent, 70));
    states.Disabled.FontColor = MakeGrey(Lighten(kBlack, 70));
  } else {
    states.Hot.ButtonColor = accentLight;
    states.Disabled.ButtonColor = kWhite;
    states.Disabled.BorderColor = kSilver;
    states.Disabled.FontColor = kSilver;
    states.Disabled.BorderWidth = 0;
  }
}

void TVeltranoButtonStyles::StyleForModalResult(int, std::wstring& buttonClass, std::wstring& appearance) const {
  buttonClass = L"Primary";
  appearance = L"Normal";
}

void ButtonFamilies::Register(std::unique_ptr<IStyledButtonAttributes> family) {
  families_.push_back(std::move(family));
}

void ButtonFamilies::Resolve(std::wstring_view family, std::wstring_view buttonClass, std::wstring_view appearance,
                             ButtonStates& states) const {
  if (families_.empty()) return;
  const auto found = std::find_if(families_.begin(), families_.end(),
                                  [&](const auto& f) { return EqualsAsciiNoCase(f->FamilyName(), family); });
  const IStyledButtonAttributes& chosen = found != families_.end() ? **found : *families_.front();
  const TButtonClasses classes = chosen.Classes();
  const std::wstring knownClass =
      Lists(classes, buttonClass) || classes.empty() ? std::wstring(buttonClass) : classes.front();
  const std::wstring knownAppearance = Lists(chosen.Appearances(), appearance) ? std::wstring(appearance) : L"Normal";
  chosen.FillStates(chosen.FamilyName(), knownClass, knownAppearance, states);
}
