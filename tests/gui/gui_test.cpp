// The toolkit on a real display: the gallery window, read back pixel by pixel.
#include <gtest/gtest.h>

#include <stdexcept>

#include "gallery.h"
#include "toolkit/win32/dpi_win.h"

void PrintTo(const Color& c, std::ostream* out) {
  *out << '(' << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ')';
}

namespace {

// The colour on screen at a point of a window's client area.
Color PixelAt(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  const HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return FromColorRef(pixel);
}

Color GreyText() { return FromColorRef(GetSysColor(COLOR_GRAYTEXT)); }

RECT ClientOf(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  return rect;
}

class GalleryWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { families_.Register(std::make_unique<TVeltranoButtonStyles>()); }
  void Show(Gallery& gallery) {
    gallery.form.Show();
    SetForegroundWindow(gallery.form.Handle());
    Pump(300);
  }
  static ButtonFamilies families_;
};
ButtonFamilies GalleryWindow::families_;

TEST_F(GalleryWindow, TheAccentLineIsBlueWhileActiveAndGreyWhileNot) {
  Gallery gallery(families_, true);
  Show(gallery);
  const HWND window = gallery.form.Handle();
  EXPECT_TRUE(gallery.theme.Active());
  EXPECT_EQ(PixelAt(window, 10, 0), kAccent);
  EXPECT_EQ(PixelAt(window, 10, 1), kAccent) << "2 pixels high";
  EXPECT_NE(PixelAt(window, 10, 2), kAccent);

  Form other(L"FrmOther", L"Another window", 200, 100);
  other.Show();
  SetForegroundWindow(other.Handle());
  Pump(300);
  EXPECT_FALSE(gallery.theme.Active());
  EXPECT_EQ(PixelAt(window, 10, 0), GreyText());

  SetForegroundWindow(window);
  Pump(300);
  EXPECT_EQ(PixelAt(window, 10, 0), kAccent);
}

TEST_F(GalleryWindow, TheAccentLineSpansTheWholeWidthAfterAResize) {
  Gallery gallery(families_, true);
  Show(gallery);
  const HWND window = gallery.form.Handle();
  RECT frame;
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 150, frame.bottom - frame.top + 40,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump(300);
  const RECT client = ClientOf(window);
  EXPECT_EQ(PixelAt(window, client.right - 1, 0), kAccent);
  EXPECT_EQ(PixelAt(window, client.right - 1, 1), kAccent);
  EXPECT_EQ(gallery.theme.Line().Visible(), true);
}

TEST_F(GalleryWindow, ABorderlessFormShowsNoLine) {
  Gallery gallery(families_, false);
  Show(gallery);
  EXPECT_FALSE(gallery.theme.Line().Visible());
  EXPECT_EQ(PixelAt(gallery.form.Handle(), 10, 0), kWhite);
}

TEST_F(GalleryWindow, TheHelperNeedsAFormAndGivesTheHandlerBack) {
  Gallery gallery(families_, true);
  Show(gallery);
  try {
    CreateThemeHelper(gallery.body);
    FAIL() << "a panel is no form";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "TThemeHelper Owner must be a TForm");
  }
  Shape& line = gallery.theme.Line();
  gallery.form.Free(gallery.theme);
  SendMessageW(gallery.form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  Pump(100);
  EXPECT_EQ(line.BackColor(), kAccent) << "no helper follows the activation any more; the line stays";
}

TEST_F(GalleryWindow, ButtonsDrawEachStateFromTheirAttributes) {
  Gallery gallery(families_, true);
  Show(gallery);
  for (std::size_t row = 0; row < kAppearances.size(); ++row) {
    ButtonStates states;
    families_.Resolve(L"Veltrano", L"Primary", kAppearances[row], states);
    for (std::size_t column = 0; column < kStates.size(); ++column) {
      StyledButton& button = *gallery.buttons[row][column];
      if (kStates[column] == ButtonState::Selected) Focus(button);
      if (kStates[column] == ButtonState::Hot) Hover(button);
      Pump(150);
      ASSERT_EQ(button.State(), kStates[column]) << row << "/" << column;
      const TStyledButtonAttributes& a = kStates[column] == ButtonState::Normal     ? states.Normal
                                         : kStates[column] == ButtonState::Pressed  ? states.Pressed
                                         : kStates[column] == ButtonState::Selected ? states.Selected
                                         : kStates[column] == ButtonState::Hot      ? states.Hot
                                                                                    : states.Disabled;
      const RECT client = ClientOf(button.Handle());
      const Color fill = a.ButtonDrawStyle == btnSolid ? a.ButtonColor : kWhite;
      const Color edge = a.BorderDrawStyle == brdSolid ? a.BorderColor : fill;
      EXPECT_EQ(PixelAt(button.Handle(), 5, client.bottom / 2), fill) << "fill " << row << "/" << column;
      EXPECT_EQ(PixelAt(button.Handle(), client.right / 2, 0), edge) << "top edge " << row << "/" << column;
      EXPECT_EQ(PixelAt(button.Handle(), 0, 0), kWhite) << "rounded corner " << row << "/" << column;
    }
  }
}

TEST_F(GalleryWindow, ToolButtonsAreButtonsThatTheKeyboardPresses) {
  Gallery gallery(families_, true);
  Show(gallery);
  wchar_t text[32] = {}, windowClass[32] = {};
  GetWindowTextW(gallery.home.Handle(), text, 32);
  GetClassNameW(gallery.home.Handle(), windowClass, 32);
  EXPECT_STREQ(text, L"Home") << "read from outside like any button's caption";
  EXPECT_STREQ(windowClass, L"Button");
  EXPECT_EQ(gallery.home.State(), ButtonState::Pressed) << "the tab stays down";

  int clicks = 0;
  StyledButton& button = *gallery.buttons[2][0];
  button.OnClick = [&] { ++clicks; };
  Focus(button);
  SendMessageW(button.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(button.Handle(), WM_KEYUP, VK_SPACE, 0);
  Pump(100);
  EXPECT_EQ(clicks, 1) << "Space presses it";
  SendMessageW(button.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  Pump(100);
  EXPECT_EQ(clicks, 2) << "and so does Enter";
}

TEST_F(GalleryWindow, ImagesCardsAndMenusDoWhatTheTablesNeed) {
  Gallery gallery(families_, true);
  Show(gallery);
  // The image draws itself at its size and answers a click, under a hand cursor.
  const RECT logo = ClientOf(gallery.logo.Handle());
  EXPECT_EQ(logo.right, Scale(112, gallery.form.Dpi()));
  EXPECT_EQ(PixelAt(gallery.logo.Handle(), logo.right / 2, logo.bottom / 2), kAccent);
  int clicks = 0;
  gallery.logo.OnClick = [&] { ++clicks; };
  SendMessageW(gallery.logo.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(gallery.logo.cursor, IDC_HAND);

  // A card panel shows its active card only, filling it.
  EXPECT_EQ(gallery.cards.ActiveCard(), &gallery.firstCard);
  EXPECT_EQ(PixelAt(gallery.cards.Handle(), 10, 10), kSilver);
  gallery.cards.SetActiveCard(gallery.secondCard);
  Pump(100);
  EXPECT_FALSE(IsWindowVisible(gallery.firstCard.Handle()));
  EXPECT_EQ(PixelAt(gallery.cards.Handle(), 10, 10), kAccent);

  // The popup menu runs the chosen item.
  int saved = 0;
  PopupMenu::Item& item = gallery.menu.AddItem(L"BtnOther", L"Other", [&] { ++saved; });
  PostMessageW(gallery.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(gallery.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(gallery.form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  gallery.menu.Popup(POINT{100, 100});
  EXPECT_EQ(saved, 1) << item.name;
}

TEST_F(GalleryWindow, TranslationWalksTheComponentsTheFormOwns) {
  Gallery gallery(families_, true);
  Translation translation(
      {L"ko=전체목록", L"en=All Programs", L"", L"ko=처음화면", L"en=Home", L"", L"ko=저장", L"en=Save"}, L"en");
  gallery.menu.AddItem(L"BtnSaveAs", L"저장", nullptr);
  translation.TranslateComponent(&gallery.form, L"ko");
  EXPECT_EQ(gallery.check.Caption(), L"전체목록");
  EXPECT_EQ(gallery.home.Caption(), L"처음화면");
  EXPECT_EQ(gallery.menu.Items()[0]->Caption(), L"목록 저장") << "no row: unchanged";
  EXPECT_EQ(gallery.menu.Items()[1]->Caption(), L"저장");
  translation.TranslateComponent(&gallery.form, L"en");
  EXPECT_EQ(gallery.check.Caption(), L"All Programs");
  EXPECT_EQ(gallery.menu.Items()[1]->Caption(), L"Save");
  EXPECT_EQ(gallery.form.Caption(), L"Tarnwick toolkit gallery") << "a caption without a row stays";
}

TEST_F(GalleryWindow, EverythingScalesWithTheDpiAndTheFontCanBeTheIconTitles) {
  Gallery gallery(families_, true);
  Show(gallery);
  const int dpi = gallery.form.Dpi();
  RECT head = ClientOf(gallery.head.Handle());
  EXPECT_EQ(head.bottom, Scale(50, dpi));
  gallery.form.ApplyDpi(144, nullptr);
  Pump(100);
  head = ClientOf(gallery.head.Handle());
  EXPECT_EQ(head.bottom, 75);
  const RECT button = ClientOf(gallery.buttons[0][0]->Handle());
  EXPECT_EQ(button.right, 126);
  EXPECT_EQ(button.bottom, 50) << "33 * 1.5 = 49.5, rounded up";

  LOGFONTW font{};
  gallery.form.UseIconTitleFont();
  GetObjectW(gallery.form.Font(), sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, DesktopFont(144, true).lfFaceName);
  EXPECT_EQ(font.lfHeight, DesktopFont(144, true).lfHeight);
}

} // namespace
