#include "options/OthersPage.h"

#include "core/Program.h"
#include "forms/Form.h"
#include "options/OptionsHost.h"
#include "settings/AutoStart.h"

namespace vd {

using options::T;

OthersPage::OthersPage(forms::Container& parent, Program& program, OptionsHost& host,
                       Settings& inEffect)
    : frame(parent, "othersPage"),
      ignoredGroup(frame, "ignoredGroup", "Ignored List"),
      effectsGroup(frame, "effectsGroup", " Effects "),
      clearIgnoreListButton(ignoredGroup, "clearIgnoreListButton", "Clear List"),
      autoStartBox(effectsGroup, "autoStartBox", "Start Application After Reboot"),
      autoHideBox(effectsGroup, "autoHideBox", "Auto Hide"),
      animateBox(effectsGroup, "animateBox", "Desktop Transition"),
      previewBox(effectsGroup, "previewBox", "Preview Window"),
      program_(program),
      host_(host),
      inEffect_(inEffect) {
  LayOut();
  clearIgnoreListButton.Click = [this] { ClearIgnoreList(); };
  // Start with Windows changes the Run value at once, whatever becomes of the dialog.
  autoStartBox.Click = [this] {
    if (showing_) return;
    if (autoStartBox.Checked()) {
      AutoStart::AppAutoStart(program_.ws);
    } else {
      AutoStart::AppAutoStop(program_.ws);
    }
    inEffect_.autoStart = autoStartBox.Checked();
  };
}

void OthersPage::LayOut() {
  frame.SetBorderStyle(false);
  ignoredGroup.Move(T(0), T(0), T(options::kPageWidth), T(86));
  effectsGroup.Move(T(0), T(94), T(options::kPageWidth), T(124));
  for (forms::Frame* group : {&ignoredGroup, &effectsGroup}) group->SetBackColor(options::kFace);
  captions_.Add(ignoredGroup, "ignoredCaption",
                "Click on the button below to clear all ignored list.", 12, 24, 306);
  clearIgnoreListButton.Move(T(12), T(48), T(90), T(24));
  int y = 22;
  for (forms::CheckBox* box : {&autoStartBox, &autoHideBox, &animateBox, &previewBox}) {
    box->Move(T(12), T(static_cast<float>(y)), T(300), T(20));
    box->SetBackColor(options::kFace);
    y += 24;
  }
}

void OthersPage::Show(const Settings& s) {
  showing_ = true;
  autoStartBox.SetValue(s.autoStart ? 1 : 0);
  autoHideBox.SetValue(s.autoHide ? 1 : 0);
  animateBox.SetValue(s.animate ? 1 : 0);
  previewBox.SetValue(s.preview ? 1 : 0);
  showing_ = false;
}

void OthersPage::Collect(Settings& s) const {
  s.autoStart = autoStartBox.Checked();
  s.autoHide = autoHideBox.Checked();
  s.animate = animateBox.Checked();
  s.preview = previewBox.Checked();
}

void OthersPage::ClearIgnoreList() {
  const int answer = program_.ws.MessageBoxW(frame.OwnerForm().hWnd(),
                                             "Are you sure you want to clear all blocked list ?",
                                             "Blocked List", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer == IDYES) host_.ClearIgnoreList();
}

}  // namespace vd
