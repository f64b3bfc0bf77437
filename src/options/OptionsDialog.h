// The options dialog. It is loaded once during start-up and afterwards only shown and hidden:
// its controls are the live copy of the settings that the rest of the program reads (the
// pager's auto-hide reads autoHideBox, the panic action panicDesktopList, ...).
//
// A column of page buttons on the left chooses the page; each page is a frame, and the chosen
// one is the only one shown. "General" holds two sub-pages, "Application" and "Others".
// Most controls take effect only through OK, which saves the settings and applies them to the
// pager; the opacity, the colour swatches, start with Windows, the hotkey buttons and "Clear
// List" act at once, and Cancel reverts none of them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "interaction/DialogForm.h"

namespace vd {

class Program;

class OptionsDialog : public DialogForm {
 public:
  explicit OptionsDialog(Program& program);
  ~OptionsDialog() override;

  // ---- Pages ---------------------------------------------------------------------------------
  forms::Button generalButton, desktopsButton, panicButton, appearanceButton;  // the page buttons
  forms::PictureBox pageMark;  // the bar beside the chosen page's button
  forms::Frame generalPage;
  forms::Button applicationButton;  // "Application"
  forms::Button othersButton;       // "Others"
  forms::PictureBox subPageMark;    // the bar under the chosen sub-page's button
  forms::Frame applicationPage;     // the Application sub-page
  forms::Frame othersPage;
  forms::Frame ignoredGroup, effectsGroup;
  forms::Frame desktopsPage;
  forms::Frame panicPage;
  forms::Frame appearancePage;
  forms::Frame styleGroup;

  // ---- Application sub-page ----------------------------------------------------------------
  forms::TextBox columnsField, rowsField, widthField, heightField;
  forms::ComboBox opacityList;  // "Opaque", "High", "Medium", "Low"
  forms::ComboBox hideModifierList, hideKeyList;
  forms::Button setHideHotkeyButton;
  // ---- Others sub-page ---------------------------------------------------------------------
  forms::Button clearIgnoreListButton;
  forms::CheckBox autoStartBox, autoHideBox, animateBox, previewBox;
  // ---- Desktops page -----------------------------------------------------------------------
  forms::ComboBox hotkeyDesktopList, desktopModifierList, desktopKeyList;
  forms::CheckBox desktopHotkeyBox;
  forms::Button setDesktopHotkeyButton;
  // ---- Panic page --------------------------------------------------------------------------
  forms::CheckBox panicBox;
  forms::ComboBox panicModifierList, panicKeyList, panicDesktopList;
  forms::Button setPanicHotkeyButton;
  // ---- Appearance page: the four colour swatches and their buttons, 1 to 4 -----------------
  forms::ControlArray<forms::PictureBox> colourSwatches;
  forms::ControlArray<forms::Button> colourButtons;
  // ---- Confirming ----------------------------------------------------------------------------
  forms::Button okButton;  // OK: saves and applies
  forms::Button cancelButton;

  // A size field was edited since the dialog was last shown: OK then rebuilds the grid.
  bool DimensionsChanged = false;
  // The custom colours of the colour dialog, kept for the whole run.
  std::array<uint32_t, 16> CustomColors{};

  // Settings file -> controls, and the hotkeys and opacity they describe.
  void LoadOptions();
  // Controls -> settings file, every key every time.
  void SaveOptions();
  // Fills the modifier and key lists from the hotkey tables.
  void FillHotkeyLists();
  // Registers the hide/unhide (panic) hotkey shown in the lists; a combination that is taken
  // puts the stored one back into the lists. With showMsg the user is told the outcome.
  void RegisterHideHotkey(bool showMsg);
  void RegisterPanicHotkey(bool showMsg);
  // Registers (or, unchecked, unregisters) the chosen desktop's hotkey and stores it in the
  // settings file; 0 when the combination was refused, else 1.
  int SetDesktopHotkey(bool showMsg);
  // The hotkey lists of the Desktops page are usable only while the hotkey is enabled.
  void EnableDesktopHotkeyLists();
  // Shows the stored hotkey of the desktop chosen in hotkeyDesktopList.
  void ShowDesktopHotkey();
  // The pager's opacity from a opacityList index: 0 opaque, 1 high, 2 medium, 3 low.
  void SetPagerOpacity(int transparentIndex);
  // Re-applies the windows' opacity after "Desktop Transition" changed.
  void ReapplyWindowOpacity();
  // The pager's opacity chosen in opacityList (255 when nothing is chosen).
  int PagerAlpha() const;
  // Applies the grid typed into the columns and rows fields: windows of desktops that vanish
  // move to the last remaining one, a panic desktop that vanishes turns the panic hotkey off,
  // and the user is told of both.
  void ApplyGrid();
  // Clears the pictures of the current desktop's miniatures, so that they are drawn afresh.
  void BlankCurrentMiniatures();
  // Lets the user choose the colour of swatch colorIndex (1 to 4) in the system colour dialog.
  void PickColour(int colorIndex);
  // Start with Windows: writes or deletes the program's value under the user's Run key. Both
  // always answer false.
  bool AppAutoStart();
  bool AppAutoStop();

  // The buttons' handlers (also what a test presses).
  void Confirm();
  void Cancel();
  void ClearIgnoreList();
  // Brings a page (or a sub-page of "General") to the front.
  void ShowPage(forms::Frame& page);
  // The page (or General's sub-page) now shown.
  forms::Frame& CurrentPage();
  forms::Frame& CurrentSubPage();

 private:
  void OnLoad();
  void OnActivate();
  void LayOut();
  void WireEvents();
  // The rules of the four size fields.
  void FilterSizeKey(forms::TextBox& field, int& keyAscii);
  void CleanSizeField(forms::TextBox& field);
  // OK is possible only while every size field holds a value and the grid is at least 1 x 1.
  void UpdateCloseButton();
  void StartDrag();
  bool loading_ = false;  // the settings file is being copied into the controls

  // The captions that stand beside the controls; kept for the life of the dialog.
  forms::Label& AddCaption(forms::Container& parent, const std::string& name,
                           const std::string& text, int left, int top, int width);
  std::vector<std::unique_ptr<forms::Label>> captions_;
};

}  // namespace vd
