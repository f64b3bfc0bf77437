// The peer of a check box: a system check box that does not toggle itself, so that the new
// value goes through the control and its Click runs once.
#include <memory>

#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Check boxes --------------------------------------------------------------------------

class CheckPeer : public WindowPeer {
 public:
  CheckPeer(Context& context, CheckBox& check) : WindowPeer(context, check) {
    CreateNativeWindow(L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, check.Caption());
    ApplyValue();
  }
  // The box does not toggle itself: the new value goes through SetValue, whose Click runs once.
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) Self().SetValue(Self().Value() == 1 ? 0 : 1);
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kValue) {
      ApplyValue();
    } else if (property == Property::kText) {
      ::SetWindowTextW(hwnd_, Widen(Self().Caption()).c_str());
    }
    WindowPeer::Changed(property);
  }
  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, Context::Color(control_.ForeColor()));
    ::SetBkColor(dc, Context::Color(control_.BackColor()));
    return context_.GetBrush(Context::Color(control_.BackColor()));
  }

 private:
  CheckBox& Self() { return static_cast<CheckBox&>(control_); }
  void ApplyValue() {
    const int value = Self().Value();
    ::SendMessageW(hwnd_, BM_SETCHECK,
                   value == 1 ? BST_CHECKED : (value == 2 ? BST_INDETERMINATE : BST_UNCHECKED), 0);
  }
};

}  // namespace

std::unique_ptr<Peer> MakeCheckPeer(Context& context, CheckBox& check) {
  return std::make_unique<CheckPeer>(context, check);
}

}  // namespace forms::win32
