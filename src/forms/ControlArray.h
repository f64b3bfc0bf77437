// A control array: element 0 exists with the form (the design-time template); Load(i) makes a
// new element with the template's properties (position, size, colours, scale mode, tag,
// tool tip), hidden, in front of its siblings; Unload(i) destroys it. The array's events carry
// the element's index.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

class ControlArrayBase {
 protected:
  static void SetIndex(Control& c, int index) { c.index_ = index; }
};

template <class T>
class ControlArray : private ControlArrayBase {
 public:
  // Makes element 0 with T(parent, name, extra...).
  template <class... Extra>
  ControlArray(Container& parent, std::string name, Extra&&... extra)
      : parent_(parent), name_(std::move(name)) {
    make_ = [this, extra...](Container& p) { return std::make_unique<T>(p, name_, extra...); };
    auto first = make_(parent_);
    Wire(*first, 0);
    elements_.emplace(0, std::move(first));
  }
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  T& operator()(int index) {
    return const_cast<T&>(static_cast<const ControlArray&>(*this)(index));
  }
  const T& operator()(int index) const {
    auto it = elements_.find(index);
    if (it == elements_.end()) throw std::out_of_range(name_ + " element not loaded");
    return *it->second;
  }
  T& operator[](int index) { return (*this)(index); }
  bool Exists(int index) const { return elements_.count(index) != 0; }
  std::vector<int> Indexes() const {
    std::vector<int> out;
    for (auto& [i, e] : elements_) out.push_back(i);
    return out;
  }
  int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
  int Count() const { return static_cast<int>(elements_.size()); }

  T& Load(int index) {
    if (Exists(index)) throw std::invalid_argument(name_ + " element already loaded");
    auto element = make_(parent_);
    CopyFromTemplate(*element);
    Wire(*element, index);
    T& ref = *element;
    elements_.emplace(index, std::move(element));
    return ref;
  }
  void Unload(int index) {
    if (index == 0) return;
    elements_.erase(index);
  }

  // Events with the element's index.
  std::function<void(int index)> Click;
  std::function<void(int index, int button, int shift, float x, float y)> MouseDown, MouseMove,
      MouseUp;
  std::function<void(int index)> CaptureLost;

 private:
  void Wire(T& e, int index) {
    SetIndex(e, index);
    e.Click = [this, index] {
      if (Click) Click(index);
    };
    e.MouseDown = [this, index](int b, int s, float x, float y) {
      if (MouseDown) MouseDown(index, b, s, x, y);
    };
    e.MouseMove = [this, index](int b, int s, float x, float y) {
      if (MouseMove) MouseMove(index, b, s, x, y);
    };
    e.MouseUp = [this, index](int b, int s, float x, float y) {
      if (MouseUp) MouseUp(index, b, s, x, y);
    };
    e.CaptureLost = [this, index] {
      if (CaptureLost) CaptureLost(index);
    };
  }
  void CopyFromTemplate(T& e);  // defined in ControlArray.cpp for each control type

  Container& parent_;
  std::string name_;
  std::function<std::unique_ptr<T>(Container&)> make_;
  std::map<int, std::unique_ptr<T>> elements_;
};

// The template copy of each kind of control that can be arrayed (ControlArray.cpp).
class Label;
class PictureBox;
class Frame;
class Shape;
class Button;
class CheckBox;
class ComboBox;
class TextBox;
template <>
void ControlArray<Label>::CopyFromTemplate(Label& e);
template <>
void ControlArray<PictureBox>::CopyFromTemplate(PictureBox& e);
template <>
void ControlArray<Frame>::CopyFromTemplate(Frame& e);
template <>
void ControlArray<Shape>::CopyFromTemplate(Shape& e);
template <>
void ControlArray<Button>::CopyFromTemplate(Button& e);
template <>
void ControlArray<CheckBox>::CopyFromTemplate(CheckBox& e);
template <>
void ControlArray<ComboBox>::CopyFromTemplate(ComboBox& e);
template <>
void ControlArray<TextBox>::CopyFromTemplate(TextBox& e);

}  // namespace forms
