// Forms on the headless backend: loading and unloading, the window procedure chain and the
// close requests, modal forms and popup menus walked by test handlers, menu arrays.
#include "forms/Form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Controls.h"
#include "forms/Menu.h"
#include "forms/headless/HeadlessBackend.h"

namespace {

using namespace forms;
using forms::headless::HeadlessBackend;

constexpr uint32_t kClose = 0x10;
constexpr uint32_t kQueryEndSession = 0x11;
constexpr uint32_t kHotkey = 0x312;

class FormTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  Form form{backend, "frmOptions"};
  std::vector<std::string> events;
};

TEST_F(FormTest, LoadRunsOnceUntilUnloadAndShowLoadsFirst) {
  form.LoadEvent = [&] { events.push_back("load"); };
  form.UnloadEvent = [&] {
    events.push_back(std::string("unload ") + (form.IsShown() ? "shown" : "hidden"));
  };
  form.Activate = [&] { events.push_back("activate"); };
  EXPECT_FALSE(form.IsShown());
  form.Show();
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_TRUE(form.IsShown());
  form.Hide();
  EXPECT_FALSE(form.IsShown());
  form.Show();
  form.Load();
  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(form.IsShown());
  form.Unload();  // not loaded: nothing
  form.Show();    // loads again
  EXPECT_EQ(events, (std::vector<std::string>{"load", "activate", "activate", "unload shown",
                                              "load", "activate"}));
}

TEST_F(FormTest, CloseRequestsAskQueryUnloadAndMayBeRefused) {
  form.Show();
  std::vector<UnloadMode> asked;
  bool refuse = true;
  form.QueryUnload = [&](UnloadMode mode, bool& cancel) {
    asked.push_back(mode);
    cancel = refuse;
  };
  EXPECT_EQ(form.Dispatch(kQueryEndSession, 0, 0), 0) << "a refusal keeps the session";
  form.Dispatch(kClose, 0, 0);
  EXPECT_TRUE(form.IsLoaded());
  refuse = false;
  form.Dispatch(kClose, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  form.Show();
  EXPECT_EQ(form.Dispatch(kQueryEndSession, 0, 0), 1);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(asked,
            (std::vector<UnloadMode>{UnloadMode::kAppWindows, UnloadMode::kFormControlMenu,
                                     UnloadMode::kFormControlMenu, UnloadMode::kAppWindows}));
}

TEST_F(FormTest, ReplacedWindowProcedurePassesOnWhatItDoesNotHandle) {
  form.Show();
  std::vector<uintptr_t> hotkeys;
  WindowProc previous;
  previous = form.SetWindowProc([&](uint32_t msg, uintptr_t w, intptr_t l) -> intptr_t {
    if (msg == kHotkey) {
      hotkeys.push_back(w);
      return 0;
    }
    return previous(msg, w, l);
  });
  ASSERT_TRUE(previous);
  form.Dispatch(kHotkey, 3, 0);
  form.Dispatch(kHotkey, 99, 0);
  EXPECT_EQ(hotkeys, (std::vector<uintptr_t>{3, 99}));
  form.Dispatch(kClose, 0, 0);  // still reaches the toolkit's own handling
  EXPECT_FALSE(form.IsLoaded());
  // Putting the old procedure back ends the program's handling.
  form.SetWindowProc(previous);
  form.Dispatch(kHotkey, 5, 0);
  EXPECT_EQ(hotkeys.size(), 2u);
}

TEST_F(FormTest, ModalFormIsWalkedByTheTestHandler) {
  Form dialog(backend, "frmMsgBox");
  Button yes(dialog, "cmdRespond", "Yes");
  std::string answer;
  yes.Click = [&] {
    answer = yes.Caption();
    dialog.Unload();
  };
  backend.onModal = [&](Form& shown) {
    EXPECT_EQ(&shown, &dialog);
    EXPECT_TRUE(shown.IsModal());
    EXPECT_TRUE(shown.IsShown());
    yes.RaiseClick();
  };
  dialog.ShowModal();
  EXPECT_EQ(answer, "Yes");
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_FALSE(dialog.IsModal());

  backend.onModal = [&](Form&) { events.push_back("looked"); };  // closes nothing
  dialog.ShowModal();
  EXPECT_FALSE(dialog.IsShown()) << "a modal form left open is hidden when the handler returns";
  backend.onModal = nullptr;
  dialog.ShowModal();
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_EQ(events, (std::vector<std::string>{"looked"}));
}

TEST_F(FormTest, PopupMenuRunsTheChosenEntryAfterClosing) {
  MenuItem menu(nullptr, "mnuMain", "Main");
  MenuItem options(&menu, "mnuOptions", "Options");
  MenuItem sep(&menu, "mnuSep", "-");
  MenuItem exit(&menu, "mnuExit", "Exit");
  exit.Click = [&] { events.push_back("exit"); };
  options.Click = [&] { events.push_back("options"); };
  std::vector<float> where;
  backend.onPopup = [&](Form& f, MenuItem& m, float x, float y) -> MenuItem* {
    EXPECT_EQ(&f, &form);
    EXPECT_EQ(&m, &menu);
    where = {x, y};
    return m.Find("Exit");
  };
  form.PopupMenu(menu, 12, 34);
  EXPECT_EQ(where, (std::vector<float>{12, 34}));
  backend.onPopup = [](Form&, MenuItem&, float, float) -> MenuItem* { return nullptr; };
  form.PopupMenu(menu, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"exit"}));
  EXPECT_TRUE(sep.IsSeparator());
  EXPECT_FALSE(exit.IsSeparator());
}

std::vector<std::string> Captions(const MenuItem& menu) {
  std::vector<std::string> out;
  for (const MenuItem* child : menu.Children()) out.push_back(child->Caption());
  return out;
}

TEST(MenuArrayTest, LoadedEntriesStandInIndexOrderAfterElementZero) {
  MenuItem moveTo(nullptr, "mnuMoveTo", "Move To");
  MenuItem before(&moveTo, "mnuBefore", "before");
  MenuArray desktops(moveTo, "mnuDesktop", "Desktop");
  MenuItem after(&moveTo, "mnuAfter", "after");
  desktops(0).SetVisible(false);
  desktops(0).SetTag("zero");

  desktops.Load(3).SetCaption("Desktop 3");
  desktops.Load(1).SetCaption("Desktop 1");
  desktops.Load(2).SetCaption("Desktop 2");
  EXPECT_EQ(Captions(moveTo), (std::vector<std::string>{"before", "Desktop", "Desktop 1",
                                                        "Desktop 2", "Desktop 3", "after"}));
  EXPECT_TRUE(desktops(2).Visible()) << "a loaded entry is visible even when element 0 is not";
  EXPECT_EQ(desktops(2).Index(), 2);
  EXPECT_EQ(desktops(2).Tag(), "zero");
  EXPECT_THROW(desktops.Load(2), std::invalid_argument);
  EXPECT_THROW(desktops(7), std::out_of_range);

  const MenuItem& loaded = desktops.Load(9);
  EXPECT_EQ(loaded.Caption(), "Desktop") << "a new entry starts with element 0's caption";
  desktops.Unload(2);
  desktops.Unload(0);  // element 0 stays
  desktops.Unload(42);
  EXPECT_EQ(desktops.Indexes(), (std::vector<int>{0, 1, 3, 9}));
  EXPECT_EQ(desktops.UBound(), 9);
  EXPECT_FALSE(desktops.Exists(2));
  EXPECT_EQ(Captions(moveTo), (std::vector<std::string>{"before", "Desktop", "Desktop 1",
                                                        "Desktop 3", "Desktop", "after"}));
}

TEST(MenuArrayTest, ClicksCarryTheIndexAndFindSearchesSubmenus) {
  MenuItem root(nullptr, "mnuPopup", "");
  MenuItem windows(&root, "mnuWindows", "Windows");
  MenuArray win(windows, "mnuWin", "");
  win.Load(1).SetCaption("Notepad");
  win.Load(2).SetCaption("Calculator");
  std::vector<int> clicked;
  win.Click = [&](int index) { clicked.push_back(index); };
  MenuItem* calc = root.Find("Calculator");
  ASSERT_NE(calc, nullptr);
  EXPECT_EQ(calc->Parent(), &windows);
  calc->RaiseClick();
  win(1).RaiseClick();
  EXPECT_EQ(clicked, (std::vector<int>{2, 1}));
  EXPECT_EQ(root.Find("Nothing"), nullptr);
}

}  // namespace
