#include "ui/win32/autorun_frame_win.h"

#include <optional>
#include <stdexcept>

#include "autorun/saved_list.h"
#include "support/utf8.h"
#include "ui/win32/stored_images_win.h"

namespace {

constexpr int kRowHeight = 24; // design pixels, every row
constexpr int kImageSize = 16; // design pixels

// `format` with its "%s" replaced by `text`, or `text` and the format when it has none.
std::wstring Fill(std::wstring format, std::wstring_view text) {
  const std::size_t at = format.find(L"%s");
  return at == std::wstring::npos ? std::wstring(text) + L": " + format : format.replace(at, 2, text);
}

// A UTC FILETIME as the user's short date and time, in the time zone of that moment; empty when
// the system cannot tell.
std::wstring LocalDateTime(std::uint64_t utc) {
  const FILETIME file{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
  SYSTEMTIME universal, local;
  if (!FileTimeToSystemTime(&file, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    return {};
  }
  wchar_t date[80], time[80];
  if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80) ||
      !GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80)) {
    return {};
  }
  return std::wstring(date) + L" " + time;
}

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
             nameWhite),
      fileChecks_(services.files, kFileCheckLimit) {
  align = Align::Client;
  ListAutorun.align = Align::Client;
  ListAutorun.SetHeaderHeight(15);
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
  ListAutorunChange(); // nothing selected yet

  // A row's product name and icon are read when the list first asks for them: only the rows on
  // screen cost a read, and the list shows as soon as the catalogue is read.
  ListAutorun.Text = [this](int index, int column) {
    if (!RowAt(index)) return std::wstring();
    return column == 0 ? model_.Resolve(index).FileName : model_.Rows()[index].From;
  };
  ListAutorun.ImageIndex = [this](int index) { return RowAt(index) ? model_.Resolve(index).Icon : -1; };
  ListAutorun.Greyed = [this](int index) { return RowAt(index) && !RowAt(index)->Enabled; };
  ListAutorun.ColumnFont = [this](int column) { return ColumnFont(column); };
  ListAutorun.Tip = [this](int index) { return RowTip(index); };
  ListAutorun.OnSelectionChange = [this] { ListAutorunChange(); };
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

void TFrmAutorun::LoadAutorun() { Load(false); }

void TFrmAutorun::ReloadAutorun() { Load(true); }

void TFrmAutorun::Load(bool afresh) {
  // The selection belongs to an entry, not to a row number: rows before it may go.
  std::optional<TAutorunItem> selected;
  if (const TAutorunItem* row = RowAt(ListAutorun.SelectedRow())) selected = *row;
  // The window repaints before the catalogue, which can take seconds, is read. Nothing else
  // runs meanwhile: input and posted work wait for the message loop they were meant for.
  RedrawWindow(OwnerForm().Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (afresh) model_.Clear();
  fileChecks_.Clear();
  model_.LoadAutorun(ChkAllList.Checked());
  ListAutorun.SetRowCount(static_cast<int>(model_.Rows().size()));
  ListAutorun.SelectRow(selected ? model_.RowOf(selected->From, selected->Target) : -1, false);
  ListAutorunChange(); // the states changed, if the selection did not
}

void TFrmAutorun::ShowButtonFor(bool enabled) {
  BtnAutorun.SetDown(!enabled);
  BtnAutorun.SetCaption(services_.translation.Translate(enabled ? L"사용안함" : L"사용함"));
}

void TFrmAutorun::BtnAutorunClick() {
  const int selected = ListAutorun.SelectedRow();
  if (!RowAt(selected)) return; // the button is disabled then; a click that raced the change does nothing
  const TAutorunItem chosen = model_.Resolve(selected); // named in an error as the list shows it
  const bool wanted = !chosen.Enabled;
  // Disabled while the switch and its reload run; afterwards it follows the selection again,
  // however they end.
  struct Follow {
    TFrmAutorun& frame;
    ~Follow() { frame.ListAutorunChange(); }
  };
  BtnAutorun.SetEnabled(false);
  const Follow follow{*this};
  services_.catalogue.SetAutorunEnabled(chosen.Target, chosen.From, wanted);
  LoadAutorun();
  // Below Windows 10 a disabled entry is deleted: its row goes, and nothing stays selected.
  const int row = model_.RowOf(chosen.From, chosen.Target);
  if (row >= 0 && model_.Rows()[row].Enabled != wanted) {
    const Translation& t = services_.translation;
    const std::wstring text =
        t.Translate(wanted ? L"%s 항목을 사용함으로 바꾸지 못했습니다." : L"%s 항목을 사용안함으로 바꾸지 못했습니다.");
    // The entry named as the list shows it.
    throw std::runtime_error(Utf8FromWide(Fill(text, chosen.FileName + L" (" + chosen.From + L")")));
  }
}

std::wstring TFrmAutorun::RowTip(int index) {
  const TAutorunItem* row = RowAt(index);
  if (!row) return {};
  const Translation& t = services_.translation;
  std::wstring tip;
  if (const std::wstring when = row->SwitchedAt ? LocalDateTime(row->SwitchedAt) : L""; !when.empty()) {
    tip = Fill(t.Translate(row->Enabled ? L"%s부터 사용함" : L"%s부터 사용안함"), when);
  }
  if (fileChecks_.Exists(row->File) == false) {
    tip += (tip.empty() ? L"" : L"\r\n") + t.Translate(L"파일을 찾을 수 없음");
  }
  return tip;
}

void TFrmAutorun::ListAutorunChange() {
  const TAutorunItem* row = RowAt(ListAutorun.SelectedRow());
  ShowButtonFor(!row || row->Enabled);
  BtnAutorun.SetEnabled(row != nullptr);
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
