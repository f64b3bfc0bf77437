// The peer of a combo box: a system drop-down list holding the control's items, whose
// selection the control follows and sets.
#include <memory>
#include <string>

#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Drop-down lists ----------------------------------------------------------------------

class ComboPeer : public WindowPeer {
 public:
  ComboPeer(Context& context, ComboBox& combo) : WindowPeer(context, combo) {
    CreateNativeWindow(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, {});
    ApplyItems();
  }
  void OnCommand(WORD code) override {
    if (code != CBN_SELCHANGE) return;
    const auto index = static_cast<int>(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
    Self().SetListIndex(index);
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kItems) {
      ApplyItems();
    } else if (property == Property::kListIndex) {
      ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(Self().ListIndex()), 0);
    }
    WindowPeer::Changed(property);
  }

 protected:
  // The window's height includes the dropped-down list; the closed box takes the font's height.
  RECT PixelRect() const override {
    RECT r = WindowPeer::PixelRect();
    r.bottom += 200;
    return r;
  }

 private:
  ComboBox& Self() { return static_cast<ComboBox&>(control_); }
  void ApplyItems() {
    ComboBox& combo = Self();
    ::SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < combo.ListCount(); ++i) {
      const std::wstring item = Widen(combo.List(i));
      ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
  }
};

}  // namespace

std::unique_ptr<Peer> MakeComboPeer(Context& context, ComboBox& combo) {
  return std::make_unique<ComboPeer>(context, combo);
}

}  // namespace forms::win32
