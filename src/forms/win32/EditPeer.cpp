// The peer of a text box: a system edit field whose edits the control takes (text and
// selection, then Change), whose typed characters go through KeyPress and the maximum length
// first, and which shows the text a handler replaced.
#include <memory>
#include <string>
#include <utility>

#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Text fields --------------------------------------------------------------------------

class EditPeer : public WindowPeer {
 public:
  EditPeer(Context& context, TextBox& box) : WindowPeer(context, box) {
    CreateNativeWindow("EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, box.Text());
  }
  void OnCommand(WORD code) override {
    if (code == EN_SETFOCUS) {
      Self().RaiseGotFocus();
    } else if (code == EN_CHANGE && !pushing_) {
      // The user edited the field: the control takes its text and selection, then Change runs.
      const int length = ::GetWindowTextLengthA(hwnd_);
      std::string text(static_cast<size_t>(length) + 1, '\0');
      ::GetWindowTextA(hwnd_, text.data(), length + 1);
      text.resize(static_cast<size_t>(length));
      DWORD start = 0, end = 0;
      ::SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      syncing_ = true;
      const std::shared_ptr<bool> alive = alive_;
      struct Reset {
        bool& flag;
        const std::shared_ptr<bool>& alive;
        ~Reset() {
          if (*alive) flag = false;
        }
      } reset{syncing_, alive};
      Self().SetText(std::move(text));
      if (*alive) {
        Self().SetSelection(static_cast<int>(start), static_cast<int>(end - start));
      }
    }
  }
  // While the field's own edit is being taken over, only a text that a Change handler
  // replaced goes back to the window; the caret stays where the user left it.
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kText) {
      TextBox& box = Self();
      const int length = ::GetWindowTextLengthA(hwnd_);
      std::string current(static_cast<size_t>(length) + 1, '\0');
      ::GetWindowTextA(hwnd_, current.data(), length + 1);
      current.resize(static_cast<size_t>(length));
      if (current != box.Text()) {
        pushing_ = true;
        ::SetWindowTextA(hwnd_, box.Text().c_str());
        pushing_ = false;
      }
      if (!syncing_) {
        ::SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(box.SelStart()),
                       static_cast<LPARAM>(box.SelStart() + box.SelLength()));
      }
      return;
    }
    WindowPeer::Changed(property);
  }

 protected:
  // KeyPress sees each typed character first and may discard or replace it.
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (msg != WM_CHAR) return WindowPeer::Intercept(msg, wParam, lParam, result);
    TextBox& box = Self();
    int key = static_cast<int>(wParam & 0xFF);
    const std::shared_ptr<bool> alive = alive_;
    if (box.KeyPress) {
      auto handler = box.KeyPress;
      handler(key);
    }
    *result = 0;
    if (!*alive || key == 0) return true;
    if (key >= 32 && box.MaxLength() > 0) {
      DWORD start = 0, end = 0;
      ::SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      const int length = ::GetWindowTextLengthA(hwnd_) - static_cast<int>(end - start);
      if (length + 1 > box.MaxLength()) {
        ::MessageBeep(MB_OK);
        return true;
      }
    }
    *result = ::DefSubclassProc(hwnd_, WM_CHAR, static_cast<WPARAM>(key), lParam);
    return true;
  }

 private:
  TextBox& Self() { return static_cast<TextBox&>(control_); }
  bool pushing_ = false;
};

}  // namespace

std::unique_ptr<Peer> MakeEditPeer(Context& context, TextBox& box) {
  return std::make_unique<EditPeer>(context, box);
}

}  // namespace forms::win32
