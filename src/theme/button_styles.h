#pragma once
// The styled-button vocabulary and the program's own family "Veltrano": one class and three
// appearances around one accent colour, each filling the five states a styled button draws.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Color&) const = default;
};

// The colour as Windows keeps it: 0x00BBGGRR.
constexpr std::uint32_t ColorRef(Color c) { return c.r | c.g << 8 | static_cast<std::uint32_t>(c.b) << 16; }
constexpr Color FromColorRef(std::uint32_t c) {
  return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)};
}

// Each channel moved `percent` toward white, halves rounded up.
Color Lighten(Color c, int percent);
// All channels 0.299 R + 0.587 G + 0.114 B, halves rounded to even.
Color MakeGrey(Color c);

inline constexpr Color kAccent{61, 132, 221};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kSilver{192, 192, 192};

enum TDrawType { btRoundRect };
enum TButtonDrawStyle { btnSolid, btnClear };
enum TBorderDrawStyle { brdSolid, brdClear };

// What a styled button draws in one state.
struct TStyledButtonAttributes {
  TDrawType DrawType = btRoundRect;
  TButtonDrawStyle ButtonDrawStyle = btnSolid;
  TBorderDrawStyle BorderDrawStyle = brdSolid;
  Color ButtonColor;
  Color BorderColor;
  int BorderWidth = 0;
  Color FontColor;
  int FontStyle = 0; // no bold, italic, underline or strike-out
  bool operator==(const TStyledButtonAttributes&) const = default;
};

// The five states of a styled button.
struct ButtonStates {
  TStyledButtonAttributes Normal, Pressed, Selected, Hot, Disabled;
};

using TButtonClasses = std::vector<std::wstring>;
using TButtonAppearances = std::vector<std::wstring>;

// A family of button styles, known to the registry by its name.
class IStyledButtonAttributes {
 public:
  virtual ~IStyledButtonAttributes() = default;
  virtual void FillStates(std::wstring_view family, std::wstring_view buttonClass, std::wstring_view appearance,
                          ButtonStates& states) const = 0;
  virtual std::wstring FamilyName() const = 0;
  virtual TButtonClasses Classes() const = 0;
  virtual TButtonAppearances Appearances() const = 0;
  // The class and appearance of a dialog button with the modal result `modalResult`.
  virtual void StyleForModalResult(int modalResult, std::wstring& buttonClass, std::wstring& appearance) const = 0;
};

class TVeltranoButtonStyles final : public IStyledButtonAttributes {
 public:
  // Only the appearance decides; one the family does not list is "Normal".
  void FillStates(std::wstring_view family, std::wstring_view buttonClass, std::wstring_view appearance,
                  ButtonStates& states) const override;
  std::wstring FamilyName() const override { return L"Veltrano"; }
  TButtonClasses Classes() const override { return {L"Primary"}; }
  TButtonAppearances Appearances() const override { return {L"Normal", L"Header", L"Outline"}; }
  void StyleForModalResult(int modalResult, std::wstring& buttonClass, std::wstring& appearance) const override;
};

// The families styled controls may name, filled before any window exists.
class ButtonFamilies {
 public:
  void Register(std::unique_ptr<IStyledButtonAttributes> family);
  // The states of a control naming `family`, `buttonClass` and `appearance`. A family the
  // registry does not know is the first registered; a class or appearance the family does not
  // list is its first class and "Normal". With no family registered the states stay as given.
  void Resolve(std::wstring_view family, std::wstring_view buttonClass, std::wstring_view appearance,
               ButtonStates& states) const;

 private:
  std::vector<std::unique_ptr<IStyledButtonAttributes>> families_;
};
