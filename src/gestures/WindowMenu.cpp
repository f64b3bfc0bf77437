#include "gestures/WindowMenu.h"

#include <optional>
#include <utility>

#include "core/Text.h"
#include "desktops/Transparency.h"
#include "dialogs/MessageDialog.h"
#include "platform/Utf8.h"

namespace vd {

WindowMenu::WindowMenu(Parts parts)
    : popup(nullptr, "windowMenu", "Options"),
      summonEntry(&popup, "summonEntry", "Summon"),
      showOnAllEntry(&popup, "showOnAllEntry", "Show on All Desktop"),
      onTopEntry(&popup, "onTopEntry", "Always On Top"),
      moveToEntry(&popup, "moveToEntry", "Move To"),
      moveToEntries(moveToEntry, "moveToEntries", "Desktop 0"),
      transparencyEntry(&popup, "transparencyEntry", "Tranparent"),
      opaqueEntry(&transparencyEntry, "opaqueEntry", "Opaque"),
      highTransparencyEntry(&transparencyEntry, "highTransparencyEntry", "High"),
      mediumTransparencyEntry(&transparencyEntry, "mediumTransparencyEntry", "Medium"),
      lowTransparencyEntry(&transparencyEntry, "lowTransparencyEntry", "Low"),
      removeEntry(&popup, "removeEntry", "Remove"),
      windowListSeparator(&popup, "windowListSeparator", "-"),
      windowListTitle(&popup, "windowListTitle", ""),
      windowListEntries(popup, "windowListEntries", "Window Title"),
      p_(std::move(parts)) {
  // The templates stay hidden.
  moveToEntries(0).SetVisible(false);
  windowListEntries(0).SetVisible(false);
  windowListTitle.SetVisible(false);
  windowListTitle.SetEnabled(false);
  summonEntry.Click = [this] { Summon(); };
  showOnAllEntry.Click = [this] { ToggleShowOnAll(); };
  onTopEntry.Click = [this] { ToggleOnTop(); };
  moveToEntries.Click = [this](int i) { MoveTo(i); };
  opaqueEntry.Click = [this] { MakeOpaque(); };
  highTransparencyEntry.Click = [this] { ApplyTransparency(100); };
  mediumTransparencyEntry.Click = [this] { ApplyTransparency(150); };
  lowTransparencyEntry.Click = [this] { ApplyTransparency(200); };
  removeEntry.Click = [this] { Remove(); };
  windowListEntries.Click = [this](int i) { BringListedWindowForward(i); };
}

void WindowMenu::Open(Hwnd window) {
  const ManagedWindow* w = p_.table.Find(window);
  if (w == nullptr) return;
  window_ = window;
  const int desktop = w->desktop;
  const std::optional<int> transparency = w->transparency;
  const bool showAll = w->showAll;
  skipNextActivation_ = false;
  moveToEntry.SetVisible(true);
  onTopEntry.SetVisible(true);
  onTopEntry.SetChecked(w->onTop);
  windowListSeparator.SetVisible(true);
  for (forms::MenuItem* level :
       {&opaqueEntry, &highTransparencyEntry, &mediumTransparencyEntry, &lowTransparencyEntry}) {
    level->SetChecked(false);
  }
  summonEntry.SetEnabled(desktop != p_.desktops.Current());
  if (transparency == 100) {
    highTransparencyEntry.SetChecked(true);
  } else if (transparency == 150) {
    mediumTransparencyEntry.SetChecked(true);
  } else if (transparency == 200) {
    lowTransparencyEntry.SetChecked(true);
  } else if (!p_.desktops.Animates()) {
    opaqueEntry.SetChecked(true);
  }
  Fill(desktop);
  // A window is never offered the desktop it already belongs to.
  if (moveToEntries.Exists(desktop) && desktop > 0) moveToEntries.Unload(desktop);
  showOnAllEntry.SetChecked(showAll);
  moveToEntry.SetEnabled(!showAll);

  Point cursor;
  p_.ws.GetCursorPos(&cursor);
  Rect pager;
  p_.ws.GetWindowRect(p_.pager.hWnd(), &pager);
  p_.pager.PopupMenu(popup, static_cast<float>(cursor.x - pager.left),
                     static_cast<float>(cursor.y - pager.top));
}

void WindowMenu::PrepareForCell(int desktop) {
  skipNextActivation_ = false;
  for (forms::MenuItem* entry : {&moveToEntry, &onTopEntry, &windowListSeparator}) {
    entry->SetVisible(false);
  }
  Fill(desktop);
  if (desktop > 0 && moveToEntries.Exists(desktop)) moveToEntries.Unload(desktop);
}

void WindowMenu::Fill(int desktop) {
  // The windows of the desktop, titles cut to 30 characters and "...".
  for (int i : windowListEntries.Indexes()) {
    if (i > 0) windowListEntries.Unload(i);
  }
  listed_ = 0;
  // A named desktop's list starts with its name ("3: Mail"), which does nothing when chosen.
  const std::string title = p_.desktopTitle(desktop);
  windowListTitle.SetCaption(title);
  windowListTitle.SetVisible(title != "Desktop " + std::to_string(desktop));
  for (const ManagedWindow& w : p_.table) {
    if (w.desktop != desktop) continue;
    forms::MenuItem& entry = windowListEntries.Load(++listed_);
    entry.SetCaption(ShortTitle(w.title, 30));
    entry.SetVisible(true);
    entry.SetTag(std::to_string(w.handle));
  }
  // "Move To": every desktop but this one.
  for (int i : moveToEntries.Indexes()) {
    if (i > 0) moveToEntries.Unload(i);
  }
  moveToEntries(0).SetVisible(true);
  for (int i = 1; i <= p_.desktops.Count(); ++i) {
    forms::MenuItem& entry = moveToEntries.Load(i);
    entry.SetCaption(p_.desktopTitle(i));
    entry.SetTag(std::to_string(i));
    entry.SetVisible(i != desktop);
  }
  moveToEntries(0).SetVisible(false);
}

void WindowMenu::ListWindow(Hwnd hwnd, const std::string& title) {
  ++listed_;
  if (!windowListEntries.Exists(listed_)) windowListEntries.Load(listed_);
  forms::MenuItem& entry = windowListEntries(listed_);
  entry.SetCaption(title);
  entry.SetTag(std::to_string(hwnd));
  entry.SetVisible(true);
}

void WindowMenu::ForgetDesktopsBeyond(int count) {
  for (int i : moveToEntries.Indexes()) {
    if (i > count) moveToEntries.Unload(i);
  }
}

bool WindowMenu::ConsumeSkippedActivation() {
  const bool skipped = skipNextActivation_;
  skipNextActivation_ = false;
  return skipped;
}

void WindowMenu::Summon() { p_.tracker.Summon(window_); }

ManagedWindow* WindowMenu::Changeable() {
  ManagedWindow* w = p_.table.Find(window_);
  return w != nullptr && !w->refusesChanges ? w : nullptr;
}

void WindowMenu::ToggleShowOnAll() {
  ManagedWindow* w = Changeable();
  if (w == nullptr) return;
  w->showAll = !w->showAll;
  if (w->showAll) p_.layering.ReapplyTransparency(window_);
}

void WindowMenu::ToggleOnTop() {
  ManagedWindow* w = Changeable();
  if (w == nullptr) return;
  skipNextActivation_ = true;
  if (!onTopEntry.Checked()) {
    w->onTop = true;
    p_.ws.SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    onTopEntry.SetChecked(true);
    if (!p_.layering.ReapplyTransparency(window_)) p_.layering.MakeOpaque(window_);
  } else {
    w->onTop = false;
    p_.ws.SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
    onTopEntry.SetChecked(false);
  }
}

void WindowMenu::MoveTo(int index) {
  if (!moveToEntries.Exists(index)) return;
  MoveWindowTo(window_, AsNumber(moveToEntries(index).Tag()));
}

void WindowMenu::MoveWindowTo(Hwnd window, int target) {
  ManagedWindow* w = p_.table.Find(window);
  if (w == nullptr || target < 1 || target > p_.desktops.Count()) return;
  const int32_t v = w->miniature;
  const int d = w->desktop;
  const auto& cells = p_.cells;
  // The miniature moves into the target cell keeping its offset inside the cell.
  if (p_.miniatures.Exists(v) && v > 0 && cells.Exists(d) && cells.Exists(target)) {
    forms::PictureBox& miniature = p_.miniatures(v);
    miniature.SetLeft(miniature.Left() - cells(d).Left() + cells(target).Left());
    miniature.SetTop(miniature.Top() - cells(d).Top() + cells(target).Top());
    miniature.ZOrder(0);
  }
  p_.desktops.Place(target, window, 0, 0, 0, 0);
  p_.desktops.SetShown(window, target == p_.desktops.Current());
  p_.tracker.NoteMoved(window);
}

void WindowMenu::MakeOpaque() {
  ManagedWindow* w = p_.table.Find(window_);
  if (w == nullptr) return;
  p_.layering.MakeOpaque(window_);
  if ((w = p_.table.Find(window_)) != nullptr) w->transparency.reset();
  p_.record.TranslucencyChanged();
  p_.record.SaveTranslucencyIfBehind();
}

void WindowMenu::ApplyTransparency(int alpha) {
  if (Changeable() == nullptr) return;
  transparency::SetWindowAlpha(p_.ws, window_, alpha);
  // Refused, the window stays as it was and the record of translucent windows does not name it.
  if (p_.desktops.Refuses(window_)) return;
  if (ManagedWindow* w = p_.table.Find(window_)) w->transparency = alpha;
  p_.record.TranslucencyChanged();
  p_.record.SaveTranslucencyIfBehind();
}

void WindowMenu::Remove() {
  if (!p_.table.Contains(window_)) return;
  const Hwnd window = window_;
  const std::string answer =
      ShowMessage(p_.program, "Remove Window",
                  "Are you sure you want to remove and add the window to the ignore list ?",
                  "warning", "Yes;No;Just Remove;");
  // The question was open while the timers ran: the window may have gone meanwhile.
  const ManagedWindow* w = p_.table.Find(window);
  if (w == nullptr || (answer != "Yes" && answer != "Just Remove")) return;
  const std::string title = w->title;
  // Shown first, so that a window of a hidden desktop does not stay invisible once the
  // program no longer manages it.
  p_.desktops.GiveBack(window);
  p_.layering.MakeOpaque(window);
  if (answer == "Yes") p_.ignoreList.Add(title);
  p_.tracker.DropWindow(window);
}

void WindowMenu::BringListedWindowForward(int index) {
  if (!windowListEntries.Exists(index)) return;
  const Hwnd window = AsNumber(windowListEntries(index).Tag());
  p_.activateWindow(window);
  const ManagedWindow* w = p_.table.Find(window);
  const int32_t v = w != nullptr ? w->miniature : 0;
  if (v > 0 && p_.miniatures.Exists(v)) p_.miniatures(v).ZOrder(0);
  skipNextActivation_ = true;
}

}  // namespace vd
