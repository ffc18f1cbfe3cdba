#pragma once
// The program's one window: a header with the "Home" tab and the maker's logo, and one card that
// holds the autorun list frame. The window owns the three filter lists and hands the frame the
// two it filters with.
#include <memory>
#include <string>
#include <vector>

#include "platform/http.h"
#include "platform/locale.h"
#include "platform/resources.h"
#include "platform/shell.h"
#include "toolkit/win32/controls_win.h"
#include "toolkit/win32/styled_button_win.h"
#include "translate/translate.h"
#include "ui/filter_list.h"
#include "ui/win32/autorun_frame_win.h"
#include "update/win32/update_win.h"

struct MainWindowServices {
  platform::Resources& resources;
  platform::Locale& locale;
  FrameServices frame;
  std::wstring site; // origin of the maker's web site, which serves "/tarnwick"
  std::wstring api = {}; // origin of the maker's server, which answers "/api.init.php"; empty: no request
  std::shared_ptr<platform::Http> http = {}; // for the start-up request; WinHTTP when null
};

class TFrmTarnwick final : public Form {
 public:
  // Builds the window by its layout table and runs FormCreate.
  TFrmTarnwick(const MainWindowServices& services, Translation& translation);
  // FormDestroy: the lists go first, the components with the form.
  ~TFrmTarnwick() override;

  void ImgLogoClick();
  // The start-up reply: with `updateAccepted` the window closes; otherwise the reply's list
  // arrays are merged into the lists and the list is loaded afresh, the selection kept on its
  // entry while that has a row. An empty or malformed reply merges nothing.
  void ReplyHandler(bool updateAccepted, const std::wstring& reply);

  FilterList& GetFileWhite() { return *FileWhite; }
  FilterList& GetNameWhite() { return *NameWhite; }
  FilterList& GetNameBlack() { return *NameBlack; }

  Panel& PnlHead;
  StyledToolbar& BtnHead;
  StyledButton& BtnHome;
  Panel& PnlLogo;
  Image& ImgLogo;
  CardPanel& PnlMain;
  Panel& PnlAutorun;
  TFrmAutorun* FrmAutorun = nullptr;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  // A dialog that disabled the window, or a menu of it, runs its own message loop.
  bool InModalLoop() const;
  // Posts the hand-overs that waited for a modal loop to end, once none runs.
  void ResumeHandOvers();
  MainWindowServices services_;
  Translation& translation_;
  std::unique_ptr<FilterList> FileWhite, NameWhite, NameBlack;
  std::unique_ptr<WindowNotification> notification_;
  std::shared_ptr<EndSignal> ended_ = std::make_shared<EndSignal>();
  std::vector<LPARAM> waiting_; // hand-overs that arrived in a modal loop
  bool menuLoop_ = false;
};

// Draws the maker's logo into `rect`: vector shapes, crisp at any size.
void DrawLogo(HDC dc, const RECT& rect);
