#include "options/OptionsDialog.h"

#include <string>
#include <vector>

#include "core/Program.h"
#include "desktops/Transparency.h"
#include "dialogs/MessageDialog.h"
#include "options/PageIcons.h"

namespace vd {

using options::T;

namespace {

constexpr float kWidth = 460, kHeight = 332;  // the whole dialog, pixels
constexpr float kPageLeft = 120, kPageTop = 30;
constexpr int kSysColorButtonFace = 15;

}  // namespace

OptionsDialog::OptionsDialog(Program& program, OptionsHost& host, Settings& settings)
    : DialogForm(program, "OptionsDialog", T(kWidth), T(kHeight), "Options"),
      generalButton(*this, "generalButton", "General"),
      desktopsButton(*this, "desktopsButton", "Desktops"),
      panicButton(*this, "panicButton", "Panic"),
      appearanceButton(*this, "appearanceButton", "Appearance"),
      keysButton(*this, "keysButton", "Keys"),
      pageMark(*this, "pageMark"),
      generalPage(*this, "generalPage"),
      applicationButton(generalPage, "applicationButton", "Application"),
      othersButton(generalPage, "othersButton", "Others"),
      subPageMark(generalPage, "subPageMark"),
      application(generalPage, program, host, settings),
      others(generalPage, program, host, settings),
      desktops(*this, program, host, settings),
      panic(*this, program, host, settings),
      appearance(*this, program),
      keys(*this, program, host, settings),
      okButton(*this, "okButton", "OK"),
      cancelButton(*this, "cancelButton", "Cancel"),
      host_(host),
      settings_(settings) {
  SetCaption("Options");
  SetVisible(false);
  signPicture.SetVisible(false);  // the message boxes' sign has no place here
  LayOut();
  DrawIcons();
  WireEvents();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::DrawIcons() {
  const uint32_t face = forms::ResolveColor(program_.backend, 0x80000000u | kSysColorButtonFace);
  generalButton.SetIcon(options::IconGeneral(face, Dpi()));
  desktopsButton.SetIcon(options::IconDesktops(face, Dpi()));
  panicButton.SetIcon(options::IconPanic(face, Dpi()));
  appearanceButton.SetIcon(options::IconAppearance(face, Dpi()));
  keysButton.SetIcon(options::IconKeys(face, Dpi()));
  okButton.SetIcon(options::IconConfirm(face, Dpi()));
}

void OptionsDialog::LayOut() {
  // The page buttons, a column on the left; a bar beside the chosen one.
  struct PageButton {
    forms::Button& button;
    const char* tip;
  };
  PageButton pages[] = {
      {generalButton, "Grid, size, opacity, hide/unhide hotkey and effects"},
      {desktopsButton, "A name and hotkeys for each desktop"},
      {panicButton, "The panic hotkey"},
      {appearanceButton, "The pager's colours"},
      {keysButton, "Keys that walk the grid and carry windows along"},
  };
  for (int i = 0; i < 5; ++i) {
    pages[i].button.Move(T(12), T(32 + 48 * static_cast<float>(i)), T(100), T(40));
    pages[i].button.SetToolTipText(pages[i].tip);
  }
  pageMark.Move(T(6), T(32), T(3), T(40));
  pageMark.SetBackColor(options::kAccent);

  for (forms::Frame* page :
       {&generalPage, &desktops.frame, &panic.frame, &appearance.frame, &keys.frame}) {
    page->Move(T(kPageLeft), T(kPageTop), T(options::kPageWidth), T(options::kPageHeight));
    page->SetBackColor(options::kFace);
  }
  generalPage.SetBorderStyle(false);

  // General: the two sub-page buttons, a bar under the chosen one, the two sub-pages.
  applicationButton.Move(T(0), T(0), T(100), T(24));
  othersButton.Move(T(104), T(0), T(100), T(24));
  subPageMark.Move(T(0), T(26), T(100), T(3));
  subPageMark.SetBackColor(options::kAccent);
  for (forms::Frame* sub : {&application.frame, &others.frame}) {
    sub->Move(T(0), T(34), T(options::kPageWidth), T(options::kPageHeight - 34));
    sub->SetBackColor(options::kFace);
  }

  // OK and Cancel below the pages.
  okButton.Move(T(282), T(294), T(80), T(26));
  okButton.SetToolTipText("Save the settings and apply them");
  cancelButton.Move(T(370), T(294), T(80), T(26));
}

void OptionsDialog::WireEvents() {
  LoadEvent = [this] { OnLoad(); };
  // On a screen of another scale the controls follow by themselves; the icons are drawn anew.
  DpiChanged = [this, box = DpiChanged] {
    if (box) box();
    DrawIcons();
  };
  // Closed by the system (Alt+F4, the system menu's Close, WM_CLOSE): the same as Cancel, and
  // the dialog stays loaded. A session that ends is not refused.
  QueryUnload = [this](forms::UnloadMode mode, bool& cancel) {
    if (mode != forms::UnloadMode::kFormControlMenu) return;
    cancel = true;
    Cancel();
  };
  Activate = [this] { OnActivate(); };
  // The borderless dialog moves when dragged by its background (and by its title strip).
  MouseDown = [this](int button, int, float, float) {
    if (button == forms::kLeftButton) StartDrag();
  };

  generalButton.Click = [this] {
    ShowPage(generalPage);
    if (&CurrentSubPage() == &application.frame) application.widthField.SetFocus();
  };
  applicationButton.Click = [this] { ShowPage(application.frame); };
  othersButton.Click = [this] { ShowPage(others.frame); };
  desktopsButton.Click = [this] { ShowPage(desktops.frame); };
  panicButton.Click = [this] { ShowPage(panic.frame); };
  appearanceButton.Click = [this] { ShowPage(appearance.frame); };
  keysButton.Click = [this] { ShowPage(keys.frame); };
  application.FieldsChanged = [this] { UpdateOkButton(); };
  okButton.Click = [this] { Confirm(); };
  cancelButton.Click = [this] { Cancel(); };
}

void OptionsDialog::StartDrag() {
  program_.ws.ReleaseCapture();
  program_.ws.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// ---- Loading, showing, pages --------------------------------------------------------------------

void OptionsDialog::OnLoad() {
  // Top-most already when it first shows (and again at every activation).
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void OptionsDialog::OnActivate() {
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  host_.SetDialogOpen(true);
  // The pages show the settings in effect; what a Cancel dropped is gone.
  const int desktopCount = host_.NumberOfDesktops();
  application.Show(settings_);
  others.Show(settings_);
  desktops.Show(settings_, desktopCount);
  panic.Show(settings_, desktopCount);
  appearance.Show(settings_);
  keys.Show(settings_);
  ShowPage(generalPage);
  ShowPage(application.frame);
  UpdateOkButton();
}

void OptionsDialog::ShowPage(forms::Frame& page) {
  struct Choice {
    forms::Frame& frame;
    forms::Button& button;
  };
  const Choice pages[] = {{generalPage, generalButton},
                          {desktops.frame, desktopsButton},
                          {panic.frame, panicButton},
                          {appearance.frame, appearanceButton},
                          {keys.frame, keysButton}};
  const Choice subPages[] = {{application.frame, applicationButton}, {others.frame, othersButton}};
  auto choose = [&page](const auto& set, forms::Control& mark, bool beside) {
    bool found = false;
    for (const Choice& c : set) found = found || &c.frame == &page;
    if (!found) return;
    for (const Choice& c : set) {
      const bool chosen = &c.frame == &page;
      if (chosen) {
        c.frame.SetVisible(true);
        c.frame.ZOrder(0);
        if (beside) {
          mark.SetTop(c.button.Top());
        } else {
          mark.SetLeft(c.button.Left());
        }
      }
    }
    // The others go only after the chosen one shows, so the dialog never shows no page.
    for (const Choice& c : set) {
      if (&c.frame != &page) c.frame.SetVisible(false);
    }
  };
  choose(pages, pageMark, true);
  choose(subPages, subPageMark, false);
}

forms::Frame& OptionsDialog::CurrentPage() {
  for (forms::Frame* page :
       {&generalPage, &desktops.frame, &panic.frame, &appearance.frame, &keys.frame}) {
    if (page->Visible()) return *page;
  }
  return generalPage;
}

forms::Frame& OptionsDialog::CurrentSubPage() {
  return others.frame.Visible() && !application.frame.Visible() ? others.frame : application.frame;
}

void OptionsDialog::UpdateOkButton() {
  const bool ready = application.Ready();
  if (okButton.Enabled() != ready) okButton.SetEnabled(ready);
}

// ---- OK and Cancel ------------------------------------------------------------------------------

void OptionsDialog::Confirm() {
  if (panic.LacksDesktop()) {
    ShowMessage(program_, "Required Value", "Please enter panic desktop value.", "critical", "Ok;");
    ShowPage(panic.frame);
    return;  // the dialog stays up, and the pager with it
  }
  Settings edited = settings_;
  application.Collect(edited);
  others.Collect(edited);
  desktops.Collect(edited);
  panic.Collect(edited);
  appearance.Collect(edited);
  keys.Collect(edited);
  settings_ = edited;
  const bool saved = WriteSettings(program_.ws, program_.SettingsFile(), settings_);
  host_.SetDialogOpen(false);
  Hide();
  const GridChange change = host_.ApplySettings(application.DimensionsChanged());
  if (!saved) program_.ReportFailedWrite(Program::StoredFile::kSettings);
  if (change.relocated || change.panicDisabled) {
    std::string text = "Due to changes in the desktop dimension:\r\n\r\n";
    std::vector<std::string> notes;
    if (change.relocated) notes.emplace_back("- Application(s) has been relocated.");
    if (change.panicDisabled) notes.emplace_back("- Panic hotkeys have been disabled.");
    for (size_t i = 0; i < notes.size(); ++i) text += (i > 0 ? "\r\n" : "") + notes[i];
    ShowMessage(program_, "Warning", text, "warning", "Ok;");
  }
}

void OptionsDialog::Cancel() {
  host_.SetDialogOpen(false);
  Hide();
  // The opacity the page showed on the pager goes back to the one in effect.
  if (application.opacityList.ListIndex() != settings_.opacity.value_or(-1)) {
    transparency::SetWindowAlpha(program_.ws, host_.PagerHandle(), settings_.PagerAlpha());
  }
}

}  // namespace vd
