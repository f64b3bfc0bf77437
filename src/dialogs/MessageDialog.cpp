#include "dialogs/MessageDialog.h"

#include <algorithm>
#include <vector>

#include "core/Program.h"

namespace vd {

MessageDialog::MessageDialog(Program& program)
    : DialogForm(program, "MessageDialog", 4695, 2115, ""),
      messageLabel(*this, "messageLabel"),
      answerRow(*this, "answerRow", "", forms::ScaleMode::kTwips),
      answerButtons(answerRow, "answerButtons") {
  messageLabel.Move(840, 480, 3660, 960);
  messageLabel.SetBackColor(0xF0F0F0);
  messageLabel.SetForeColor(0x000000);
  answerRow.SetBorderStyle(false);
  answerRow.SetBackColor(0xF0F0F0);
  answerRow.Move((4695.0f - 3675.0f) / 2, 1560, 3675, 375);
  answerButtons(0).Move(0, 0, 1215, 375);
  answerButtons(0).SetCaption("Yes");
  answerButtons.Load(1).Move(1260, 0, 1215, 375);
  answerButtons(1).SetCaption("No");
  answerButtons.Load(2).Move(2520, 0, 1155, 375);
  answerButtons(2).SetCaption("Cancel");
  answerButtons.Click = [this](int index) {
    answer_ = answerButtons(index).Caption();
    Unload();
  };
}

void MessageDialog::Prepare(const std::string& title, const std::string& text,
                            const std::string& buttons) {
  for (int i = 0; i < 3; ++i) answerButtons(i).SetVisible(false);
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
    answerButtons(i).SetCaption(parts[static_cast<size_t>(i)]);
    answerButtons(i).SetVisible(true);
  }
  if (n == 1) {
    answerButtons(0).SetLeft(answerRow.Width() / 2 - answerButtons(0).Width() / 2);
  } else if (n == 2) {
    answerButtons(0).SetLeft(answerRow.Width() / 2 - answerButtons(0).Width() / 2 - 60);
    answerButtons(1).SetLeft(answerButtons(0).Left() + answerButtons(1).Width() + 120);
  }
  titleLabel.SetCaption(title);
  messageLabel.SetCaption(text);
}

std::string ShowMessage(Program& program, const std::string& title, const std::string& text,
                        const std::string& /*icon: every box shows the same one*/,
                        const std::string& buttons) {
  MessageDialog box(program);
  box.Prepare(title, text, buttons);
  box.ShowModal();
  return box.Answer();
}

}  // namespace vd
