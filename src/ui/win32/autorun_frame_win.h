#pragma once
// The autorun list frame: the list of the programs that start with Windows, the button that
// switches the selected one off and on, the "All Programs" box, and the menu that saves the list.
// The rows come from the row model; the list asks for their texts, images and colours as it
// draws them.
#include "autorun/catalogue.h"
#include "autorun/file_checks.h"
#include "platform/file_info.h"
#include "platform/files.h"
#include "platform/save_dialog.h"
#include "platform/shell.h"
#include "toolkit/win32/controls_win.h"
#include "toolkit/win32/list_view_win.h"
#include "toolkit/win32/styled_button_win.h"
#include "translate/translate.h"
#include "ui/autorun_model.h"
#include "windows/image_list_win.h"

// What the frame works with.
struct FrameServices {
  AutorunCatalogue& catalogue;
  platform::FileSystem& files;
  platform::FileInfo& fileInfo;
  platform::Shell& shell;
  platform::SaveDialog& saveDialog;
  const FolderTokens& folderTokens;
  const Translation& translation;
  const ButtonFamilies& families;
  std::wstring infoSite; // origin of the maker's information site, which serves "/entry/..."
};

class TFrmAutorun final : public Panel {
 public:
  // The file and name white lists filter the rows; they stay the form's.
  TFrmAutorun(Form& form, Control& parent, const FrameServices& services, const FilterList& fileWhite,
              const FilterList& nameWhite);

  // Reads the catalogue again and reconciles the rows with it. The selection and the focus stay
  // on their entry while it has a row.
  void LoadAutorun();
  // Empties the list and loads it afresh, the selection kept on its entry as above.
  void ReloadAutorun();

  void BtnAutorunClick();
  // The selection changed, by whatever means: the button shows the selected entry's state, and
  // is disabled while no row is selected.
  void ListAutorunChange();
  void ListAutorunDblClick();
  void ListAutorunKeyDown(WORD key);
  void ChkAllListClick();
  void BtnSaveClick();

  // The tooltip of the row at `index`: since when the entry is switched as it is, local date and
  // time, and whether its program file is missing (nothing about a file that did not answer in
  // time); empty when there is nothing to say.
  std::wstring RowTip(int index);

  const TAutorunModel& Model() const { return model_; }
  // Redraws the stored images, sizes every image and the Consolas font for the new DPI.
  void OnDpiChanged() override;
  HFONT ColumnFont(int column);
  HIMAGELIST Images() const { return images_.Handle(); }

  ListView& ListAutorun;
  Panel& PnlAutorun;
  StyledButton& BtnAutorun;
  CheckBox& ChkAllList;
  PopupMenu& Menu;

 private:
  // Shows the button for an entry that is `enabled`: raised "Disable", or pressed "Enable".
  void ShowButtonFor(bool enabled);
  void Load(bool afresh);
  void MakeColumnFont();
  // Draws the stored images at the current DPI into their places, first of the list.
  void DrawStoredImages();
  // The row at `index` of the list, or null.
  const TAutorunItem* RowAt(int index) const;

  FrameServices services_;
  platform::Win32ImageList images_;
  TAutorunModel model_;
  FileChecks fileChecks_; // the tooltips' checks of this load, each off the window's thread
  platform::FontHandle consolas_;
};
