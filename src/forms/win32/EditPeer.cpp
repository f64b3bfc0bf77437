// The peer of a text box: a system edit field whose edits the control takes (text and
// selection, then Change), whose typed characters go through KeyPress and the maximum length
// first, and which shows the text a handler replaced. The field counts in UTF-16 units, the
// control in bytes of its UTF-8 text: positions are converted between the two (EditUnits.h).
#include <memory>
#include <string>
#include <utility>

#include "forms/win32/EditUnits.h"
#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Text fields --------------------------------------------------------------------------

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

class EditPeer : public WindowPeer {
 public:
  EditPeer(Context& context, TextBox& box) : WindowPeer(context, box) {
    CreateNativeWindow(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, box.Text());
  }
  void OnCommand(WORD code) override {
    if (code == EN_SETFOCUS) {
      Self().RaiseGotFocus();
    } else if (code == EN_CHANGE && !pushing_) {
      // The user edited the field: the control takes its text and selection, then Change runs.
      const std::wstring wide = WindowText(hwnd_);
      DWORD start = 0, end = 0;
      ::SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      const int startByte = Utf8Offset(wide, static_cast<int>(start));
      const int endByte = Utf8Offset(wide, static_cast<int>(end));
      syncing_ = true;
      const std::shared_ptr<bool> alive = alive_;
      struct Reset {
        bool& flag;
        const std::shared_ptr<bool>& alive;
        ~Reset() {
          if (*alive) flag = false;
        }
      } reset{syncing_, alive};
      Self().SetText(Narrow(wide));
      if (*alive) Self().SetSelection(startByte, endByte - startByte);
    }
  }
  // While the field's own edit is being taken over, only a text that a Change handler
  // replaced goes back to the window; the caret stays where the user left it.
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kText) {
      TextBox& box = Self();
      if (Narrow(WindowText(hwnd_)) != box.Text()) {
        pushing_ = true;
        ::SetWindowTextW(hwnd_, Widen(box.Text()).c_str());
        pushing_ = false;
      }
      if (!syncing_) {
        const std::string& text = box.Text();
        ::SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(Utf16Offset(text, box.SelStart())),
                       static_cast<LPARAM>(Utf16Offset(text, box.SelStart() + box.SelLength())));
      }
      return;
    }
    WindowPeer::Changed(property);
  }

 protected:
  // KeyPress sees each typed character first, as one code point, and may discard or replace
  // it; the maximum length counts the bytes the text would take with it.
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (msg != WM_CHAR) return WindowPeer::Intercept(msg, wParam, lParam, result);
    *result = 0;
    const char32_t typed = typing_.Take(static_cast<char32_t>(wParam & 0xFFFF));
    if (typed == 0) return true;  // the first half of a pair, or nothing to type
    TextBox& box = Self();
    int key = static_cast<int>(typed);
    const std::shared_ptr<bool> alive = alive_;
    if (box.KeyPress) {
      auto handler = box.KeyPress;
      handler(key);
    }
    wchar_t units[2] = {};
    const int count = key > 0 ? Utf16Units(static_cast<char32_t>(key), units) : 0;
    if (!*alive || count == 0) return true;
    if (key >= 32 && box.MaxLength() > 0) {
      const std::wstring text = WindowText(hwnd_);
      DWORD start = 0, end = 0;
      ::SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      const int kept =
          Utf8Offset(text, static_cast<int>(text.size())) -
          (Utf8Offset(text, static_cast<int>(end)) - Utf8Offset(text, static_cast<int>(start)));
      if (kept + Utf8Length(static_cast<char32_t>(key)) > box.MaxLength()) {
        ::MessageBeep(MB_OK);
        return true;
      }
    }
    // A pair goes to the field one half at a time; the control takes the text once both are
    // in, so that no handler sees half a character.
    for (int i = 0; i < count; ++i) {
      pushing_ = i + 1 < count;
      *result = SystemHandling(WM_CHAR, static_cast<WPARAM>(units[i]), lParam);
    }
    return true;
  }

 private:
  TextBox& Self() { return static_cast<TextBox&>(control_); }
  bool pushing_ = false;
  TypedCharacters typing_;
};

}  // namespace

std::unique_ptr<Peer> MakeEditPeer(Context& context, TextBox& box) {
  return std::make_unique<EditPeer>(context, box);
}

}  // namespace forms::win32
