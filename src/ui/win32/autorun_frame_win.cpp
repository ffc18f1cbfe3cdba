#include "ui/win32/autorun_frame_win.h"

#include <stdexcept>

#include "autorun/saved_list.h"
#include "support/utf8.h"
#include "ui/win32/stored_images_win.h"

namespace {

constexpr int kRowHeight = 24; // design pixels, every row
constexpr int kImageSize = 16; // design pixels

} // namespace

TFrmAutorun::TFrmAutorun(Form& form, Control& parent, const FrameServices& services, const FilterList& fileWhite,
                         const FilterList& nameWhite)
    : Panel(form, parent, L"FrmAutorun"),
      ListAutorun(form.Make<ListView>(*this, L"ListAutorun")),
      PnlAutorun(form.Make<Panel>(*this, L"PnlAutorun")),
      BtnAutorun(form.Make<StyledButton>(PnlAutorun, L"BtnAutorun", L"사용안함", services.families, L"Outline")),
      ChkAllList(form.Make<CheckBox>(PnlAutorun, L"ChkAllList", L"전체목록")),
      Menu(form.Make<PopupMenu>(*this, L"Menu")),
      services_(services),
      images_(Scale(kImageSize, Dpi()), ListAutorun.ImageHeightFor(kRowHeight)),
      model_(services.catalogue, services.files, services.fileInfo, images_, services.folderTokens, fileWhite,
             nameWhite) {
  align = Align::Client;
  ListAutorun.align = Align::Client;
  PnlAutorun.align = Align::Bottom;
  PnlAutorun.bounds.height = 49;
  PnlAutorun.padding = {0, 8, 0, 8};
  BtnAutorun.align = Align::Right;
  BtnAutorun.bounds = {0, 0, 84, 33};
  ChkAllList.bounds = {2, 16, 135, 17};
  Menu.AddItem(L"BtnSave", L"목록 저장", [this] { BtnSaveClick(); });

  // The captions of the frame in the current language; the menu item has no row and stays.
  const Translation& t = services_.translation;
  BtnAutorun.SetCaption(t.Translate(BtnAutorun.Caption()));
  ChkAllList.SetCaption(t.Translate(ChkAllList.Caption()));
  for (MenuItem* item : Menu.Items()) item->SetCaption(t.Translate(item->Caption()));
  ListAutorun.SetColumns({{t.Translate(L"프로그램 이름"), 0}, {t.Translate(L"출처"), 50}});

  DrawStoredImages();
  ListAutorun.SetImages(images_.Handle());
  MakeColumnFont();

  ListAutorun.Text = [this](int index, int column) {
    const TAutorunItem* row = RowAt(index);
    return !row ? std::wstring() : column == 0 ? row->FileName : row->From;
  };
  ListAutorun.ImageIndex = [this](int index) { return RowAt(index) ? RowAt(index)->Icon : -1; };
  ListAutorun.Greyed = [this](int index) { return RowAt(index) && !RowAt(index)->Enabled; };
  ListAutorun.ColumnFont = [this](int column) { return ColumnFont(column); };
  ListAutorun.OnClick = [this] { ListAutorunClick(); };
  ListAutorun.OnDoubleClick = [this] { ListAutorunDblClick(); };
  ListAutorun.OnKeyDown = [this](WORD key) { ListAutorunKeyDown(key); };
  ListAutorun.OnContextMenu = [this](POINT screen) { Menu.Popup(screen); };
  BtnAutorun.OnClick = [this] { BtnAutorunClick(); };
  ChkAllList.OnClick = [this] { ChkAllListClick(); };
}

HFONT TFrmAutorun::ColumnFont(int column) { return column == 1 ? consolas_.get() : nullptr; }

const TAutorunItem* TFrmAutorun::RowAt(int index) const {
  return index >= 0 && index < static_cast<int>(model_.Rows().size()) ? &model_.Rows()[index] : nullptr;
}

void TFrmAutorun::DrawStoredImages() {
  for (int i = 0; i < kStoredImages; ++i) {
    const platform::OwnedIcon icon(MakeStoredImage(i, Scale(kImageSize, Dpi())));
    const auto handle = reinterpret_cast<platform::IconHandle>(icon.get());
    if (i < images_.Count()) {
      images_.ReplaceIcon(i, handle);
    } else {
      images_.AddIcon(std::to_wstring(i), handle);
    }
  }
}

void TFrmAutorun::MakeColumnFont() {
  // Column 1 in Consolas, at the size and style of the list's font.
  LOGFONTW font{};
  GetObjectW(OwnerForm().Font(), sizeof(font), &font);
  lstrcpynW(font.lfFaceName, L"Consolas", LF_FACESIZE);
  consolas_.reset(CreateFontIndirectW(&font));
}

void TFrmAutorun::OnDpiChanged() {
  Panel::OnDpiChanged();
  MakeColumnFont();
  // File icons are scaled from their cells; the stored images are drawn anew at the new size.
  images_.Rescale(Scale(kImageSize, Dpi()), ListAutorun.ImageHeightFor(kRowHeight));
  DrawStoredImages();
  ListAutorun.SetImages(images_.Handle());
  ListAutorun.Redraw();
}

void TFrmAutorun::LoadAutorun() {
  // Pending messages run first: the window repaints before the catalogue, which can take
  // seconds, is read.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  model_.LoadAutorun(ChkAllList.Checked());
  ListAutorun.SetRowCount(static_cast<int>(model_.Rows().size()));
}

void TFrmAutorun::ReloadAutorun() {
  model_.Clear();
  ListAutorun.SetRowCount(0);
  LoadAutorun();
}

void TFrmAutorun::ShowButtonFor(bool enabled) {
  BtnAutorun.SetDown(!enabled);
  BtnAutorun.SetCaption(services_.translation.Translate(enabled ? L"사용안함" : L"사용함"));
}

void TFrmAutorun::BtnAutorunClick() {
  // Disabled while the switch and its reload run, and enabled again however they end.
  struct Reenable {
    StyledButton& button;
    ~Reenable() { button.SetEnabled(true); }
  };
  BtnAutorun.SetEnabled(false);
  const Reenable reenable{BtnAutorun};
  const TAutorunItem* selected = RowAt(ListAutorun.SelectedRow());
  if (!selected) {
    LoadAutorun();
    return;
  }
  const TAutorunItem chosen = *selected;
  const bool wanted = !chosen.Enabled;
  services_.catalogue.SetAutorunEnabled(chosen.Target, chosen.From, wanted);
  LoadAutorun();
  // The button shows the entry's real state after the reload, never only the one asked for.
  for (const TAutorunItem& row : model_.Rows()) {
    if (row.Target != chosen.Target || row.From != chosen.From) continue;
    ShowButtonFor(row.Enabled);
    if (row.Enabled != wanted) {
      throw std::runtime_error(Utf8FromWide(chosen.FileName) + " (" + Utf8FromWide(chosen.From) +
                               "): the entry could not be switched " + (wanted ? "on." : "off."));
    }
    return;
  }
  ShowButtonFor(wanted); // the row is gone: below Windows 10 a disabled entry is deleted
}

void TFrmAutorun::ListAutorunClick() {
  if (const TAutorunItem* row = RowAt(ListAutorun.FocusedRow())) ShowButtonFor(row->Enabled);
}

void TFrmAutorun::ListAutorunDblClick() {
  if (const TAutorunItem* row = RowAt(ListAutorun.FocusedRow())) {
    services_.shell.ShellOpen(EntryAddress(services_.infoSite, row->From, row->Target));
  }
}

void TFrmAutorun::ListAutorunKeyDown(WORD key) {
  if (key == VK_F5) ReloadAutorun(); // with any modifier
}

void TFrmAutorun::ChkAllListClick() { ReloadAutorun(); }

void TFrmAutorun::BtnSaveClick() {
  const Translation& t = services_.translation;
  platform::SaveDialogOptions options;
  options.title = t.Translate(L"파일 저장");
  options.filters = {{t.Translate(L"텍스트 파일") + L" (*.txt)", L"*.txt"},
                     {t.Translate(L"모든 파일") + L" (*.*)", L"*.*"}};
  options.defaultExtension = L"txt";
  std::wstring path;
  if (!services_.saveDialog.ChooseFile(options, path)) return;
  std::wstring message;
  if (!services_.files.WriteWholeFile(path, FormatSavedList(model_.ListAutoObj()), message)) {
    throw std::runtime_error(Utf8FromWide(path + L": " + message));
  }
}
