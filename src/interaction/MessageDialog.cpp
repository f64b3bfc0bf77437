#include "interaction/MessageDialog.h"

#include <algorithm>
#include <vector>

#include "core/Program.h"

namespace vd {

MessageDialog::MessageDialog(Program& program)
    : DialogForm(program, "MessageDialog", 4695, 2115, ""),
      lblDescription(*this, "lblDescription"),
      Frame1(*this, "Frame1", "", forms::ScaleMode::kTwips),
      cmdRespond(Frame1, "cmdRespond") {
  lblDescription.Move(840, 480, 3660, 960);
  lblDescription.SetBackColor(0xF0F0F0);
  lblDescription.SetForeColor(0x000000);
  Frame1.SetBorderStyle(false);
  Frame1.SetBackColor(0xF0F0F0);
  Frame1.Move((4695.0f - 3675.0f) / 2, 1560, 3675, 375);
  cmdRespond(0).Move(0, 0, 1215, 375);
  cmdRespond(0).SetCaption("Yes");
  cmdRespond.Load(1).Move(1260, 0, 1215, 375);
  cmdRespond(1).SetCaption("No");
  cmdRespond.Load(2).Move(2520, 0, 1155, 375);
  cmdRespond(2).SetCaption("Cancel");
  cmdRespond.Click = [this](int index) {
    program_.MessageResult = cmdRespond(index).Caption();
    Unload();
  };
}

void MessageDialog::Prepare(const std::string& title, const std::string& text,
                            const std::string& buttons) {
  for (int i = 0; i < 3; ++i) cmdRespond(i).SetVisible(false);
  // The captions each end with ";": the part after the last ";" is not a button, so a list
  // without a final ";" loses its last caption. At most three buttons exist.
  std::vector<std::string> parts{""};
  for (char c : buttons) {
    if (c == ';') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  const int n = std::min<int>(static_cast<int>(parts.size()) - 1, 3);
  for (int i = 0; i < n; ++i) {
    cmdRespond(i).SetCaption(parts[static_cast<size_t>(i)]);
    cmdRespond(i).SetVisible(true);
  }
  if (n == 1) {
    cmdRespond(0).SetLeft(Frame1.Width() / 2 - cmdRespond(0).Width() / 2);
  } else if (n == 2) {
    cmdRespond(0).SetLeft(Frame1.Width() / 2 - cmdRespond(0).Width() / 2 - 60);
    cmdRespond(1).SetLeft(cmdRespond(0).Left() + cmdRespond(1).Width() + 120);
  }
  lblTitle.SetCaption(title);
  lblDescription.SetCaption(text);
}

void ShowMessage(Program& program, const std::string& title, const std::string& text,
                 const std::string& /*icon: every box shows the same one*/,
                 const std::string& buttons) {
  MessageDialog box(program);
  box.Prepare(title, text, buttons);
  box.ShowModal();
}

}  // namespace vd
