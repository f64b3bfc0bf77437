// The program's one record of the windows it manages: one typed record per window, in the
// order the windows were taken on. A window has at most one record; a record is found by the
// window's handle.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd {

struct ManagedWindow {
  Hwnd handle = 0;
  std::string title;
  int desktop = 1;
  int32_t arrival = 0;              // its number among the windows that arrived on its desktop
  int32_t miniature = 0;            // the number of its miniature; 0 before it has one
  bool onTop = false;               // always on top, by the user's choice
  bool showAll = false;             // shown on every desktop
  std::optional<int> transparency;  // the opacity the user chose for it
  // The system refuses the program changes to the window (its application runs as
  // administrator): it is shown on every desktop for good and never asked to change again.
  bool refusesChanges = false;
};

class WindowTable {
 public:
  WindowTable() = default;
  WindowTable(const WindowTable&) = delete;
  WindowTable& operator=(const WindowTable&) = delete;

  int Count() const { return static_cast<int>(order_.size()); }
  bool Contains(Hwnd handle) const { return byHandle_.count(handle) != 0; }

  // The window's record, or nullptr. A record stays where it is until it is removed: a pointer
  // to it stays good while other windows come and go, but not across its own removal, so a
  // caller holding one across a call that can run other handlers looks it up again.
  ManagedWindow* Find(Hwnd handle);
  const ManagedWindow* Find(Hwnd handle) const;

  // Appends a record for the window; nullptr (and nothing changes) when it has one already.
  ManagedWindow* Add(Hwnd handle);
  // Removes the window's record; false when it has none.
  bool Remove(Hwnd handle);

  // The window whose miniature has this number; 0 for none (and for 0, the hidden template).
  Hwnd WindowWithMiniature(int32_t miniature) const;

  // The handles in table order, as they are now.
  std::vector<Hwnd> Handles() const;

  // The records in table order.
  class Iterator {
   public:
    using Inner = std::vector<std::unique_ptr<ManagedWindow>>::const_iterator;
    explicit Iterator(Inner at) : at_(at) {}
    ManagedWindow& operator*() const { return **at_; }
    ManagedWindow* operator->() const { return at_->get(); }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    Inner at_;
  };
  Iterator begin() const { return Iterator(order_.begin()); }
  Iterator end() const { return Iterator(order_.end()); }

 private:
  std::vector<std::unique_ptr<ManagedWindow>> order_;
  std::unordered_map<Hwnd, ManagedWindow*> byHandle_;
};

}  // namespace vd
