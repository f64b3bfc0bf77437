// Menus: a tree of entries. A form's top-level menus are never shown as a menu bar; the program
// uses them only as popup menus (Form::PopupMenu). An entry with children is a submenu; an
// entry captioned "-" is a separator.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace forms {

class MenuItem {
 public:
  // A top-level menu (parent nullptr) or an entry appended to its parent's children.
  MenuItem(MenuItem* parent, std::string name, std::string caption);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  ~MenuItem();

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 unless an element of a menu array
  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Children() const { return children_; }
  bool IsSeparator() const { return caption_ == "-"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v) { caption_ = std::move(v); }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string v) { tag_ = std::move(v); }

  // Expires when the entry is destroyed: lets a popup menu that was open while its entries were
  // rebuilt tell whether the entry the user picked still exists.
  std::weak_ptr<const void> Lifetime() const { return lifetime_; }

  // The first entry below this one (depth first) with this caption, or nullptr; for tests.
  MenuItem* Find(const std::string& caption);

  std::function<void()> Click;
  void RaiseClick();

 private:
  friend class MenuArray;
  void Insert(MenuItem* child, MenuItem* after);  // after nullptr: at the end
  void Remove(MenuItem* child);
  MenuItem* parent_;
  std::string name_;
  int index_ = -1;
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::string tag_;
  std::vector<MenuItem*> children_;
  std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};

// A menu control array: element 0 is the design-time entry; Load(i) adds an entry with its
// caption and tag, visible, placed after the highest loaded element; Unload(i) removes it.
class MenuArray {
 public:
  MenuArray(MenuItem& parent, std::string name, std::string caption);
  MenuArray(const MenuArray&) = delete;
  MenuArray& operator=(const MenuArray&) = delete;
  ~MenuArray();

  MenuItem& operator()(int index);  // the element; std::out_of_range when not loaded
  MenuItem& operator[](int index) { return (*this)(index); }
  bool Exists(int index) const;
  MenuItem& Load(int index);         // std::invalid_argument when already loaded
  void Unload(int index);            // nothing when not loaded; element 0 cannot be unloaded
  std::vector<int> Indexes() const;  // loaded indexes, ascending
  int UBound() const;

  std::function<void(int index)> Click;

 private:
  MenuItem& parent_;
  std::string name_;
  std::vector<std::pair<int, std::unique_ptr<MenuItem>>> elements_;  // sorted by index
};

}  // namespace forms
