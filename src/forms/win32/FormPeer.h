// The peer of a form: a top-level pop-up window whose messages go through the form's window
// procedure chain, which follows the user's and the window system's moves of it, and which
// owns the tip window of every control on the form.
#pragma once

#include "forms/Form.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

class FormPeer : public WindowPeer {
 public:
  FormPeer(Context& context, Form& form);
  ~FormPeer() override;
  Form& GetForm();
  HWND ToolTips();
  intptr_t DefaultProcedure(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  bool IsShown() const override;
  void Changed(Property property) override;

 protected:
  LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  RECT PixelRect() const override;

 private:
  void SyncFromWindow();
  // The window is now on a screen of another scale; the system suggests its new place.
  void MoveToScale(int dpi, const RECT& suggested);
  OwnedWindow tooltips_;
};

}  // namespace forms::win32
