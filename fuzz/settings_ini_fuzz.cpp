// "settings.ini" with any bytes in it: the program starts on a fake desktop with three windows
// of another application, lives a little virtual time, goes through the options' load and save
// (twice, so that what it wrote itself is read back) and ends. It must never crash, hang or
// leak; the grid it comes up with is always usable; every window is visible at the end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzProgram.h"
#include "options/OptionsDialog.h"

using vd::fuzzing::Check;

VD_FUZZ_TARGET(SettingsIni) {
  vd::fuzzing::WriteFile("settings.ini",
                         std::string_view(reinterpret_cast<const char*>(data), size));
  vd::fuzzing::RemoveFile("ignore.list");
  vd::fuzzing::RemoveFile("hidden.list");

  vd::fuzzing::Harness h;
  h.OpenWindow("Editor", {100, 100, 160, 140});
  h.OpenWindow("Mail", {600, 0, 640, 40});
  h.OpenWindow("Terminal", {-50, 400, 10, 500});
  h.Start();
  vd::PagerWindow& pager = h.Pager();
  Check(pager.Desktops().Count() >= 1 && pager.Desktops().Count() <= 81,
        "the grid has 1 to 81 desktops");
  Check(pager.Desktops().Current() == 1, "the program starts on desktop 1");
  Check(pager.geometry.CellWidth() > 0 && pager.geometry.CellHeight() > 0, "the cells have a size");
  for (vd::Hwnd hwnd : h.windows) Check(pager.IsManaged(hwnd), "the windows are managed");

  h.backend->Advance(250);
  // A desktop other than the first, when there is one, so that the exit has windows to bring
  // back.
  if (pager.Desktops().Count() >= 2) {
    pager.Desktops().Place(2, h.windows[1], 0, 0, 0, 0);
    pager.Desktops().Open(2);
  }
  // The options dialog shows what was read and OK writes it back; what it wrote reads back
  // the same.
  vd::OptionsDialog& options = h.program->Options();
  options.Show();
  options.Confirm();
  const std::string file = h.program->SettingsFile();
  Check(vd::ReadSettings(h.fake, file) == h.program->settings,
        "the settings written read back as they were");
  h.backend->Advance(150);
  h.CloseAll();
  return 0;
}
