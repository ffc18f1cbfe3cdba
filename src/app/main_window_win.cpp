#include "app/main_window_win.h"

#include <nlohmann/json.hpp>

#include <utility>

#include "support/utf8.h"
#include "toolkit/win32/gdiplus_win.h"
#include "toolkit/win32/theme_helper_win.h"

namespace {

// Posted by FormCreate: the list loads once the window is up, without waiting for the reply.
constexpr UINT kFirstLoad = WM_APP + 1;

} // namespace

TFrmTarnwick::TFrmTarnwick(const MainWindowServices& services, Translation& translation)
    : Form(L"FrmTarnwick", L"Tarnwick", 412, 432),
      PnlHead(Make<Panel>(*this, L"PnlHead")),
      BtnHead(Make<StyledToolbar>(PnlHead, L"BtnHead", services.frame.families)),
      BtnHome(BtnHead.AddButton(L"BtnHome", L"처음화면", 70)),
      PnlLogo(Make<Panel>(PnlHead, L"PnlLogo")),
      ImgLogo(Make<Image>(PnlLogo, L"ImgLogo", DrawLogo)),
      PnlMain(Make<CardPanel>(*this, L"PnlMain")),
      PnlAutorun(PnlMain.AddCard(L"PnlAutorun")),
      services_(services),
      translation_(translation) {
  color = kWhite;
  parentColor = false;
  PnlHead.align = Align::Top;
  PnlHead.bounds.height = 50;
  // The logo panel is made after the toolbar but takes the right edge first: right before client.
  PnlLogo.align = Align::Right;
  PnlLogo.bounds = {0, 0, 120, 50};
  BtnHead.align = Align::Client;
  BtnHead.margins = {10, 10, 10, 10};
  BtnHome.margins.left = 10; // the toolbar's indent
  BtnHome.SetDown(true);
  ImgLogo.bounds = {3, 0, 112, 50};
  ImgLogo.cursor = IDC_HAND;
  ImgLogo.OnClick = [this] { ImgLogoClick(); };
  PnlMain.align = Align::Client;
  PnlMain.padding = {8, 0, 8, 0};
  FormCreate();
}

void TFrmTarnwick::FormCreate() {
  CreateThemeHelper(*this);
  translation_.TranslateComponent(this);
  SetCaption(translation_.Translate(Caption()));
  UseIconTitleFont();
  PnlMain.SetActiveCard(PnlAutorun);
  FileWhite = std::make_unique<FilterList>(services_.locale);
  NameWhite = std::make_unique<FilterList>(services_.locale);
  NameBlack = std::make_unique<FilterList>(services_.locale);
  LoadListFromResource(services_.resources, *NameWhite, L"name_white");
  LoadListFromResource(services_.resources, *NameBlack, L"name_black");
  FrmAutorun = &Make<TFrmAutorun>(PnlAutorun, services_.frame, *FileWhite, *NameWhite);
  Relayout();
  // The list shows with the built-in lists at once; the reply, which may take a minute when the
  // server cannot be reached, merges its lists and builds the rows again when it comes. A build
  // without the maker's server makes no request.
  PostMessageW(Handle(), kFirstLoad, 0, 0);
  if (services_.api.empty()) return;
  notification_ = std::make_unique<WindowNotification>(*this, translation_.CurrentLanguage,
                                                       translation_.Translate(Caption()), services_.frame.shell);
  CheckUpdate(services_.api + L"/api.init.php",
              [this](bool updateAccepted, const std::wstring& reply) { ReplyHandler(updateAccepted, reply); }, 10,
              ProgramUpdateCheck(Handle(), ended_, services_.http, translation_.CurrentLanguage, *notification_,
                                 services_.frame.shell));
}

TFrmTarnwick::~TFrmTarnwick() {
  ended_->Set();
  for (const LPARAM handOver : waiting_) DiscardHandOver(handOver);
  NameBlack.reset();
  NameWhite.reset();
  FileWhite.reset();
}

void TFrmTarnwick::ImgLogoClick() { services_.frame.shell.ShellOpen(services_.site + L"/tarnwick"); }

void TFrmTarnwick::ReplyHandler(bool updateAccepted, const std::wstring& reply) {
  if (updateAccepted) {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
    return;
  }
  const nlohmann::json json = nlohmann::json::parse(Utf8FromWide(reply), nullptr, false);
  MergeJSONArray(*FileWhite, json, "file_white");
  MergeJSONArray(*NameWhite, json, "name_white");
  MergeJSONArray(*NameBlack, json, "name_black");
  // Rows shown before the reply came may be ones its lists hide: the list is built afresh, as
  // F5 builds it, so that it ends as if the reply had come first.
  FrmAutorun->ReloadAutorun();
}

bool TFrmTarnwick::InModalLoop() const { return menuLoop_ || !IsWindowEnabled(Handle()); }

void TFrmTarnwick::ResumeHandOvers() {
  if (InModalLoop()) return;
  for (const LPARAM handOver : std::exchange(waiting_, {})) {
    if (!PostMessageW(Handle(), kHandOverMessage, 0, handOver)) DiscardHandOver(handOver);
  }
}

LRESULT TFrmTarnwick::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kFirstLoad:
      RunHandler([this] { FrmAutorun->LoadAutorun(); });
      return 0;
    case kHandOverMessage:
      // The step shows a dialog, enables the window at its end and may close it: never under a
      // save dialog, an error box or a menu, whose loop happens to dispatch it.
      if (InModalLoop()) {
        waiting_.push_back(lParam);
        return 0;
      }
      return RunHandOver(lParam);
    case WM_ENTERMENULOOP:
      menuLoop_ = true;
      break;
    case WM_EXITMENULOOP:
      menuLoop_ = false;
      ResumeHandOvers();
      break;
    case WM_ENABLE: // a modal dialog ends by enabling its owner again
      if (wParam) ResumeHandOvers();
      break;
    case WM_DESTROY:
      ended_->Set();
      break;
    default:
      break;
  }
  return Form::OnMessage(message, wParam, lParam);
}

void DrawLogo(HDC dc, const RECT& rect) {
  StartGdiplus();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // An accent emblem, a rounded square with a white "T", then the name beside it.
  const float side = height * 0.5f, x = height * 0.08f, y = (height - side) / 2, r = side * 0.22f;
  {
    Gdiplus::Graphics g(dc);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    g.FillRectangle(&white, 0, 0, width, height);
    Gdiplus::GraphicsPath emblem;
    emblem.AddArc(x, y, 2 * r, 2 * r, 180, 90);
    emblem.AddArc(x + side - 2 * r, y, 2 * r, 2 * r, 270, 90);
    emblem.AddArc(x + side - 2 * r, y + side - 2 * r, 2 * r, 2 * r, 0, 90);
    emblem.AddArc(x, y + side - 2 * r, 2 * r, 2 * r, 90, 90);
    emblem.CloseFigure();
    Gdiplus::SolidBrush accent(Gdiplus::Color(255, 61, 132, 221));
    g.FillPath(&accent, &emblem);
    g.FillRectangle(&white, x + side * 0.2f, y + side * 0.22f, side * 0.6f, side * 0.14f);
    g.FillRectangle(&white, x + side * 0.43f, y + side * 0.22f, side * 0.14f, side * 0.56f);
  }
  // The name in a bold face the font mapper always finds, anti-aliased by the system.
  const platform::FontHandle font(CreateFontW(-static_cast<int>(height * 0.29f), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                              CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Segoe UI"));
  const HGDIOBJ old = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(40, 48, 60));
  RECT text{static_cast<LONG>(x + side + height * 0.1f), 0, width, height};
  DrawTextW(dc, L"Tarnwick", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}
