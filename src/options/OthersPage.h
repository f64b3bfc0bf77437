// The "Others" sub-page of "General": clearing the ignore list, and the effects.
#pragma once

#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class OthersPage {
 public:
  OthersPage(forms::Container& parent, Program& program, OptionsHost& host, Settings& inEffect);

  forms::Frame frame;
  forms::Frame ignoredGroup, effectsGroup;
  forms::Button clearIgnoreListButton;
  forms::CheckBox autoStartBox, autoHideBox, animateBox, previewBox;

  void Show(const Settings& settings);
  void Collect(Settings& settings) const;
  // "Clear List": asks, then deletes the ignore list.
  void ClearIgnoreList();

 private:
  void LayOut();

  Program& program_;
  OptionsHost& host_;
  Settings& inEffect_;
  options::Captions captions_;
  bool showing_ = false;
};

}  // namespace vd
